// The application: runs the main dialog modally and ends when it closes.
#pragma once

class CSetupApp {
public:
    // Takes the command line (only --simulate ZEFA-101|ZEFA-102), runs the dialog, returns the
    // process's exit status.
    int InitInstance(int argc, char** argv);
};

extern CSetupApp theApp;
