// A fleet's upload against one terminal's: dorvane-cli sending a year to eight simulated
// terminals at once, against the same upload to one. The replies are paced at 9600 baud, as the
// terminal's line is, so that the difference is the tool's own (a run per terminal, every line
// relayed), not the pseudo-terminal's. The target: the fleet within 1.3 x the one.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/run_process.h"

namespace {

constexpr int kFleet = 8;

// Seconds for `send 2027` (every Sunday and national holiday, 71 frames) to the first `count`.
double UploadSeconds(const std::vector<std::unique_ptr<CTerminalSimulator>>& sims, int count, bool& ok)
{
    std::vector<std::string> args = {DORVANE_CLI_PATH};
    for (int i = 0; i < count; ++i) args.insert(args.end(), {"--port", sims[i]->SlavePath()});
    args.insert(args.end(), {"--model", ModelName(MODEL_ZEFA102), "send", "2027"});
    const auto start = std::chrono::steady_clock::now();
    ok = RunProcess(args).exitStatus == 0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_FleetOfEightAgainstOne(benchmark::State& state)
{
    // No holiday files of whoever runs it: both uploads send the same days on every machine.
    ::setenv("XDG_CONFIG_HOME", "/nonexistent/dorvane-bench", 1);
    std::vector<std::unique_ptr<CTerminalSimulator>> sims;
    for (int i = 0; i < kFleet; ++i) {
        sims.push_back(std::make_unique<CTerminalSimulator>(MODEL_ZEFA102, SimulatorFaults{.baudRate = 9600}));
        if (std::string error; !sims.back()->Start(error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    for (auto _ : state) {
        bool oneOk = false;
        bool fleetOk = false;
        const double one = UploadSeconds(sims, 1, oneOk);
        const double fleet = UploadSeconds(sims, kFleet, fleetOk);
        if (!oneOk || !fleetOk) {
            state.SkipWithError("an upload failed");
            return;
        }
        state.SetIterationTime(fleet);
        state.counters["one_ms"] = one * 1000;
        state.counters["fleet_ms"] = fleet * 1000;
        state.counters["ratio"] = fleet / one;
    }
}
BENCHMARK(BM_FleetOfEightAgainstOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
