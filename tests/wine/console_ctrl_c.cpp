// Windows test program, run under Wine by wine_cli_test on a console: runs a program on this
// console, passes its standard output on as it comes (its standard error is this program's), and
// presses Ctrl+C on the console (GenerateConsoleCtrlEvent) once COUNT of its lines have held
// TEXT. Exits with the program's status.
//
//   console_ctrl_c COUNT TEXT PROGRAM [ARGUMENT...]     (no argument may hold a blank or a quote)
#include <windows.h>

#include <string>

namespace {

// This program hears the Ctrl+C it presses too, and lives on.
BOOL WINAPI Ignore(DWORD)
{
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) return 2;
    const int count = _wtoi(argv[1]);
    const std::wstring wideText = argv[2];
    const std::string text(wideText.begin(), wideText.end());  // ASCII
    SetConsoleCtrlHandler(Ignore, TRUE);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    HANDLE errors = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0) || !SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0) ||
        !DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_ERROR_HANDLE), GetCurrentProcess(), &errors, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        return 3;
    }
    std::wstring commandLine;
    for (int i = 3; i < argc; ++i) commandLine += std::wstring(i > 3 ? L" " : L"") + argv[i];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = errors;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[3], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return 4;
    }
    CloseHandle(writeEnd);
    CloseHandle(errors);
    std::string pending;
    int seen = 0;
    bool pressed = false;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, read, &written, nullptr);
        pending.append(buffer, read);
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            if (pending.substr(0, end).find(text) != std::string::npos) ++seen;
        }
        if (!pressed && seen >= count) pressed = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}
