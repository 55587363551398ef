// dorvane.exe: the setup dialog on Windows.
#include "base/windows_api.h"
// After <windows.h>, which they build on.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "dialog/setup_start.h"
#include "win32/setup_window.h"

namespace {

// A window program has no console of its own: --help, --version and refusals go to the console
// it was started from, if any (base/console_text.h writes it). Output redirected to a file or a
// pipe stays where it was sent.
void UseParentConsole()
{
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    UseParentConsole();
    int argc = 0;
    wchar_t** wideArgv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(Narrow(wideArgv[i]));
    LocalFree(wideArgv);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());

    CSetupStart start;
    if (const std::optional<int> status = start.ParseCommandLine(argc, argv.data())) return *status;
    if (const std::optional<int> failed = start.StartSimulator()) return *failed;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CSetupWindow dlg;
    if (start.Port() > 0) dlg.Behaviour().PresetPort(start.Port(), start.Model());
    dlg.RunModal(instance);  // how it ended makes no difference
    return APP_EXIT_OK;
}
