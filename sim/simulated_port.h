// --simulate, in dorvane and dorvane-cli: a simulated terminal listed as a port while it lives.
#pragma once

#include <memory>
#include <string>

#include "base/operator_message.h"

class CSimulatedPort {
public:
    virtual ~CSimulatedPort() = default;
    virtual int Port() const = 0;  // its n of COMn
};

// Why no simulated terminal started.
struct SimulatedPortFailure {
    bool unavailable = false;  // this platform has none (Windows has no pseudo-terminals)
    OperatorMessage message;
};

// Starts a simulated terminal of `model` and lists it in g_portMap; null, with `failure`, when it
// cannot.
std::unique_ptr<CSimulatedPort> StartSimulatedPort(int model, SimulatedPortFailure& failure);
