// The simulator answers on a pseudo-terminal, and Windows has none: --simulate is refused before
// anything is opened or sent.
#include "sim/simulated_port.h"

std::unique_ptr<CSimulatedPort> StartSimulatedPort(int /*model*/, SimulatedPortFailure& failure)
{
    failure = {true, {"Windows 에서는 --simulate 를 쓸 수 없습니다 (시뮬레이터는 가상 터미널이 필요합니다)",
               "--simulate is not available on Windows: the simulator needs a pseudo-terminal"}};
    return nullptr;
}
