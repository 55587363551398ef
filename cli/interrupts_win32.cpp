// Windows ends a console program with no signal but a console event, handled on a thread the
// console starts: Ctrl+C, Ctrl+Break, the console window closing, logoff and shutdown. They end
// dorvane-cli as SIGINT and SIGTERM do on Linux, with the same exit statuses: 130 after Ctrl+C,
// 143 after any of the others, as after a kill. Every process of the console hears the event,
// a fleet's runs too (cli/child_processes_win32.cpp).
#include <atomic>
#include <csignal>

#include "base/windows_api.h"
#include "cli/interrupts.h"

namespace {

std::atomic<int> g_signal{0};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: g_signal = SIGINT; return TRUE;
    case CTRL_BREAK_EVENT: g_signal = SIGTERM; return TRUE;
    default:
        // Closing, logoff, shutdown: the process ends the moment a handler returns, so this one
        // keeps it while the session closes the port and the program exits, which ends this
        // thread too. Windows gives it some seconds, then ends it anyway.
        g_signal = SIGTERM;
        Sleep(INFINITE);
        return TRUE;
    }
}

}  // namespace

void WatchInterrupts()
{
    static const BOOL watching = SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    static_cast<void>(watching);
}

int InterruptSignal()
{
    return g_signal;
}

const char* SignalName(int signal)
{
    return signal == SIGINT ? "Ctrl+C" : "Ctrl+Break";
}
