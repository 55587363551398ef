// --simulate: a simulated terminal that a command talks to instead of a port.
#pragma once

#include <memory>

#include "cli/command_line.h"
#include "cli/exit_status.h"

// A running simulated terminal, listed in g_portMap while it lives.
class CSimulatedPort {
public:
    virtual ~CSimulatedPort() = default;
    virtual int Port() const = 0;  // its n of COMn
};

// Starts a simulated terminal of `model`. Null when it cannot, with the status to exit with and
// why: always on Windows, which has no pseudo-terminals.
std::unique_ptr<CSimulatedPort> StartSimulatedPort(int model, ExitStatus& status, CliError& error);
