#include "app/setup_app.h"

#include "app/setup_dlg.h"

CSetupApp theApp;

int CSetupApp::InitInstance()
{
    if (const std::optional<int> failed = StartSimulator()) return *failed;
    CSetupDlg dlg;
    if (Port() > 0) dlg.PresetPort(Port(), Model());
    dlg.DoModal();  // how it ended makes no difference
    return APP_EXIT_OK;
}
