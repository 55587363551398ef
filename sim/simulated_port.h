// --simulate, in dorvane and dorvane-cli: a simulated terminal listed as a port while it lives.
#pragma once

#include <memory>
#include <string>

class CSimulatedPort {
public:
    virtual ~CSimulatedPort() = default;
    virtual int Port() const = 0;  // its n of COMn
};

// Why no simulated terminal started: Korean for the operator, English for scripts.
struct SimulatedPortFailure {
    bool unavailable = false;  // this platform has none (Windows has no pseudo-terminals)
    std::string korean;
    std::string english;
};

// Starts a simulated terminal of `model` and lists it in g_portMap; null, with `failure`, when it
// cannot.
std::unique_ptr<CSimulatedPort> StartSimulatedPort(int model, SimulatedPortFailure& failure);
