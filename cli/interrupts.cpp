#include "cli/interrupts.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t g_signal = 0;

// Windows has no SIGPIPE: a closed pipe fails the write there instead.
constexpr int kWatched[] = {
    SIGINT,
    SIGTERM,
#ifdef SIGPIPE
    SIGPIPE,
#endif
};

void OnInterrupt(int signal)
{
    g_signal = signal;
}

}  // namespace

void WatchInterrupts()
{
    for (int signal : kWatched) std::signal(signal, OnInterrupt);
}

int InterruptSignal()
{
    return g_signal;
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "SIGPIPE";
    }
}
