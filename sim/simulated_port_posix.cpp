// The simulator on a pseudo-terminal.
#include "sim/simulated_port.h"
#include "sim/terminal_simulator.h"

namespace {

class CPtySimulatedPort : public CSimulatedPort {
public:
    explicit CPtySimulatedPort(int model) : m_simulator(model) {}

    bool Start(std::string& error)
    {
        if (!m_simulator.Start(error)) return false;
        m_nPort = m_simulator.RegisterPort();
        return true;
    }
    int Port() const override { return m_nPort; }

private:
    CTerminalSimulator m_simulator;
    int m_nPort = 0;
};

}  // namespace

std::unique_ptr<CSimulatedPort> StartSimulatedPort(int model, SimulatedPortFailure& failure)
{
    auto simulated = std::make_unique<CPtySimulatedPort>(model);
    if (std::string reason; !simulated->Start(reason)) {
        failure = {false, {"시뮬레이터를 시작할 수 없습니다: " + reason, "could not start the simulator: " + reason}};
        return nullptr;
    }
    return simulated;
}
