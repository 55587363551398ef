// The application: reads the command line and checks for a display before any window exists,
// then runs the main dialog modally and ends when it closes.
#pragma once

#include "dialog/setup_start.h"

class CSetupApp : public CSetupStart {
public:
    // Runs the dialog on the ports the command line asked for; a QApplication must exist.
    // Returns the process's exit status.
    int InitInstance();
};

// False, after one bilingual line on stderr, when Qt would find no display to open: neither
// DISPLAY nor WAYLAND_DISPLAY is set, or neither one that is set answers; unless a
// QT_QPA_PLATFORM chooses another platform.
bool CheckDisplay();

extern CSetupApp theApp;
