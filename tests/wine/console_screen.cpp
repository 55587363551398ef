// Windows test program, run under Wine by wine_cli_test on a console (a pseudo-terminal as its
// standard input): runs a program on a console screen buffer of its own, then prints the rows
// the screen shows as UTF-8 on its standard output, without trailing blanks or empty rows: what
// an operator reads on the console, whatever bytes the program wrote there. Exits with the
// program's status.
//
//   console_screen PROGRAM [ARGUMENT...]     (no argument may hold a blank or a quote)
#include <windows.h>

#include <string>

namespace {

constexpr SHORT kColumns = 200;
constexpr SHORT kRows = 300;

void Print(const std::wstring& row)
{
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, row.data(), static_cast<int>(row.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, row.data(), static_cast<int>(row.size()), utf8.data(), length, nullptr, nullptr);
    utf8 += '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    &inherited, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE || !SetConsoleScreenBufferSize(screen, {kColumns, kRows})) return 3;
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i) commandLine += std::wstring(i > 1 ? L" " : L"") + argv[i];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = screen;
    startup.hStdError = screen;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return 4;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    for (SHORT y = 0; y < kRows; ++y) {
        std::wstring row(kColumns, L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, row.data(), kColumns, {0, y}, &read);
        row.resize(row.find_last_not_of(L' ') + 1);
        if (!row.empty()) Print(row);
    }
    return static_cast<int>(status);
}
