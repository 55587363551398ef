// The application: reads the command line and checks for a display before any window exists,
// then runs the main dialog modally and ends when it closes.
#pragma once

#include <optional>
#include <string>

// Exit statuses of dorvane; scripts and its manual page rely on them.
enum AppExitStatus {
    APP_EXIT_OK = 0,
    APP_EXIT_NO_DISPLAY = 1,
    APP_EXIT_INVALID_ARGUMENT = 2,
    APP_EXIT_SIMULATOR_FAILED = 3,  // as dorvane-cli's "port cannot be opened"
};

class CSetupApp {
public:
    // Reads argv (--port, --ca, --simulate, --help, --version), lists the kernel's ports and the
    // --port one in g_portMap and sets the TLS trust; needs no QApplication. Returns the status
    // to exit with when the run ends here (help, version, an invalid argument), else nothing.
    std::optional<int> ParseCommandLine(int argc, char** argv);
    // Runs the dialog on the ports the command line asked for; a QApplication must exist.
    // Returns the process's exit status.
    int InitInstance();

private:
    int m_nPort = 0;  // the --port's number; 0 without it
    int m_nSimulateModel = -1;
};

// False, after one bilingual line on stderr, when Qt would find no display to open: neither
// DISPLAY nor WAYLAND_DISPLAY is set, or neither one that is set answers; unless a
// QT_QPA_PLATFORM chooses another platform.
bool CheckDisplay();

extern CSetupApp theApp;
