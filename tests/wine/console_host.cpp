// Windows test program, run under Wine by wine_cli_test on a console (a pseudo-terminal as its
// standard input): runs PROGRAM on this console, as an operator would, and exits with its status.
//
//   console_host screen PROGRAM [ARGUMENT...]
//       PROGRAM writes to a console screen buffer of its own; then the rows the screen shows are
//       printed as UTF-8, without trailing blanks or empty rows: what an operator reads there,
//       whatever bytes PROGRAM wrote.
//   console_host ctrl-c COUNT TEXT PROGRAM [ARGUMENT...]
//       PROGRAM's standard output and error are passed on together as they come, and Ctrl+C is
//       pressed on the console (GenerateConsoleCtrlEvent) once COUNT of their lines have held TEXT.
//
// No argument may hold a blank or a quote.
#include <windows.h>

#include <string>

namespace {

constexpr SHORT kColumns = 200;
constexpr SHORT kRows = 300;

void Print(const std::string& bytes)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// `program` (null-terminated, as wmain's argv) with its output and errors to `output`; null when
// it could not start.
HANDLE Start(wchar_t** program, HANDLE output)
{
    std::wstring commandLine = program[0];
    for (wchar_t** arg = program + 1; *arg != nullptr; ++arg) commandLine += std::wstring(L" ") + *arg;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program[0], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return nullptr;
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

int StatusOf(HANDLE process)
{
    WaitForSingleObject(process, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process, &status);
    return static_cast<int>(status);
}

int Screen(wchar_t** program)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    &inherited, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE || !SetConsoleScreenBufferSize(screen, {kColumns, kRows})) return 3;
    const HANDLE process = Start(program, screen);
    if (process == nullptr) return 4;
    const int status = StatusOf(process);
    for (SHORT y = 0; y < kRows; ++y) {
        std::wstring row(kColumns, L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, row.data(), kColumns, {0, y}, &read);
        row.resize(row.find_last_not_of(L' ') + 1);
        if (row.empty()) continue;
        std::string utf8(static_cast<std::size_t>(row.size() * 3), '\0');
        utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, row.data(), static_cast<int>(row.size()),
                                                                 utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                                                 nullptr)));
        Print(utf8 + "\n");
    }
    return status;
}

// This program hears the Ctrl+C it presses too, and lives on.
BOOL WINAPI Ignore(DWORD)
{
    return TRUE;
}

int CtrlC(int count, const std::string& text, wchar_t** program)
{
    SetConsoleCtrlHandler(Ignore, TRUE);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0) || !SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0)) {
        return 3;
    }
    const HANDLE process = Start(program, writeEnd);
    CloseHandle(writeEnd);
    if (process == nullptr) return 4;
    std::string pending;
    int seen = 0;
    bool pressed = false;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        Print(std::string(buffer, read));
        pending.append(buffer, read);
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            if (pending.substr(0, end).find(text) != std::string::npos) ++seen;
        }
        if (!pressed && seen >= count) pressed = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    }
    return StatusOf(process);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"screen" && argc > 2) return Screen(argv + 2);
    if (mode == L"ctrl-c" && argc > 4) {
        const std::wstring text = argv[3];
        return CtrlC(_wtoi(argv[2]), std::string(text.begin(), text.end()), argv + 4);  // ASCII
    }
    return 2;
}
