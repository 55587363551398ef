// How dorvane starts, whichever view it shows: the command line, and the simulated terminal it
// may ask for, before any window exists.
#pragma once

#include <memory>
#include <optional>

#include "sim/simulated_port.h"

// Exit statuses of dorvane; scripts and its manual page rely on them.
enum AppExitStatus {
    APP_EXIT_OK = 0,
    APP_EXIT_NO_DISPLAY = 1,
    APP_EXIT_INVALID_ARGUMENT = 2,
    APP_EXIT_SIMULATOR_FAILED = 3,  // as dorvane-cli's "port cannot be opened"
};

class CSetupStart {
public:
    // Reads argv (--port, --ca, --simulate, --help, --version), lists the kernel's ports and the
    // --port one in g_portMap and sets the TLS trust. Returns the status to exit with when the
    // run ends here (help, version, an invalid argument), else nothing. Arguments are UTF-8.
    std::optional<int> ParseCommandLine(int argc, char** argv);
    // Starts the simulated terminal --simulate asked for, if it did; the status to exit with,
    // after a line on stderr, when it cannot. It lives until this object goes.
    std::optional<int> StartSimulator();

    // The port the dialog selects (0: none) and the model it starts in.
    int Port() const;
    int Model() const;

private:
    int m_nPort = 0;  // the --port's number; 0 without it
    int m_nSimulateModel = -1;
    std::unique_ptr<CSimulatedPort> m_simulator;
};
