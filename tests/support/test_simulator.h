// A simulated terminal as the tests and benchmarks start it: it keeps every frame it receives
// (FrameTexts) and, as a ZEFA-101, greets every 50 ms so that a connect does not wait a second.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "sim/terminal_simulator.h"

// Sets up a simulator, not yet started, as above.
inline void PrepareTestSimulator(CTerminalSimulator& sim)
{
    sim.SetGreetingInterval(std::chrono::milliseconds(50));
    sim.KeepReceivedFrames();
}

// Null, with `error`, when it cannot start.
inline std::unique_ptr<CTerminalSimulator> StartTestSimulator(int model, std::string& error,
                                                              const SimulatorFaults& faults = {})
{
    auto sim = std::make_unique<CTerminalSimulator>(model, faults);
    PrepareTestSimulator(*sim);
    if (!sim->Start(error)) return nullptr;
    return sim;
}
