#include <csignal>

#include "cli/interrupts.h"

namespace {

volatile std::sig_atomic_t g_signal = 0;

constexpr int kWatched[] = {SIGINT, SIGTERM, SIGPIPE};

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
