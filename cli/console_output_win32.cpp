// The console's output code page is the console's, shared with the shell that started us: set
// it for our lines, and give the shell back its own when we exit.
#include <cstdlib>

#include "cli/console_output.h"
#include "base/windows_api.h"

namespace {

UINT g_previousCodePage = 0;

void RestoreCodePage()
{
    SetConsoleOutputCP(g_previousCodePage);
}

}  // namespace

void UseUtf8Console()
{
    const UINT previous = GetConsoleOutputCP();  // 0: no console (output to a file or a pipe)
    if (previous == 0 || previous == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    g_previousCodePage = previous;
    std::atexit(RestoreCodePage);
}
