// Fleets against one terminal: dorvane-cli sending a year to eight and to 64 simulated terminals
// at once, and to 128 of them sixteen at a time under the usual 256-file limit, each against the
// same upload to one. The line is paced at 9600 baud both ways, as the terminal's is, so that the
// difference is the tool's own (a run per terminal, every line relayed), not the
// pseudo-terminal's. The targets: eight within 1.2 x the one; 128 within 128 / 16 x 1.3 x the one;
// for 64, the ratio and the processor time per terminal, which should stay that of one.
// And the ports file of a large fleet read in linear time: ten times the lines, ten times as long.
#include <sys/resource.h>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_folder.h"

namespace {

using Sims = std::vector<std::unique_ptr<CTerminalSimulator>>;

constexpr int kFleet = 8;
constexpr int kWideFleet = 64;
constexpr int kLargeFleet = 128;
constexpr int kJobs = 16;
constexpr double kFleetGoal = 1.2;
constexpr double kLargeFleetOverheadGoal = 1.3;

// `count` ZEFA-102 simulators; false, with the benchmark skipped, when one cannot start.
bool StartSims(int count, Sims& sims, benchmark::State& state)
{
    // No holiday files of whoever runs it: every upload sends the same days on every machine.
    ::setenv("XDG_CONFIG_HOME", "/nonexistent/dorvane-bench", 1);
    for (int i = 0; i < count; ++i) {
        sims.push_back(std::make_unique<CTerminalSimulator>(MODEL_ZEFA102, SimulatorFaults{.baudRate = 9600}));
        if (std::string error; !sims.back()->Start(error)) {
            state.SkipWithError(error.c_str());
            return false;
        }
    }
    return true;
}

// The processor time of the children that ended so far, theirs included.
double ChildrenCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Upload {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;  // of dorvane-cli and its runs: on a busy machine the fleet waits for it
};

// dorvane-cli with `args` and `send 2027` (every Sunday and national holiday, 72 frames) to
// ZEFA-102 terminals; `prefix` runs it under another program.
Upload Send2027(std::vector<std::string> args, const std::vector<std::string>& prefix = {})
{
    args.insert(args.begin(), DORVANE_CLI_PATH);
    args.insert(args.begin(), prefix.begin(), prefix.end());
    args.insert(args.end(), {"--model", ModelName(MODEL_ZEFA102), "send", "2027"});
    const double cpu = ChildrenCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    Upload upload;
    upload.ok = RunProcess(args).exitStatus == 0;
    upload.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    upload.cpuSeconds = ChildrenCpuSeconds() - cpu;
    return upload;
}

// False, with the benchmark skipped, when an upload failed.
bool Report(benchmark::State& state, const Upload& one, const Upload& fleet, int terminals, double goal)
{
    if (!one.ok || !fleet.ok) {
        state.SkipWithError("an upload failed");
        return false;
    }
    state.SetIterationTime(fleet.seconds);
    state.counters["one_ms"] = one.seconds * 1000;
    state.counters["fleet_ms"] = fleet.seconds * 1000;
    state.counters["fleet_cpu_ms"] = fleet.cpuSeconds * 1000;
    state.counters["one_cpu_ms"] = one.cpuSeconds * 1000;
    state.counters["cpu_ms_per_terminal"] = fleet.cpuSeconds * 1000 / terminals;
    state.counters["ratio"] = fleet.seconds / one.seconds;
    if (goal > 0) state.counters["goal"] = goal;
    return true;
}

void BM_FleetOfEightAgainstOne(benchmark::State& state)
{
    Sims sims;
    if (!StartSims(kFleet, sims, state)) return;
    std::vector<std::string> all;
    for (const auto& sim : sims) all.insert(all.end(), {"--port", sim->SlavePath()});
    for (auto _ : state) {
        const Upload one = Send2027({"--port", sims[0]->SlavePath()});
        if (!Report(state, one, Send2027(all), kFleet, kFleetGoal)) return;
    }
}
BENCHMARK(BM_FleetOfEightAgainstOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// All 64 at once: no goal of its own, but the processor time per terminal shows whether a fleet
// grows linearly.
void BM_FleetOf64AgainstOne(benchmark::State& state)
{
    Sims sims;
    if (!StartSims(kWideFleet, sims, state)) return;
    std::vector<std::string> all = {"--jobs", std::to_string(kWideFleet)};
    for (const auto& sim : sims) all.insert(all.end(), {"--port", sim->SlavePath()});
    for (auto _ : state) {
        const Upload one = Send2027({"--port", sims[0]->SlavePath()});
        if (!Report(state, one, Send2027(all), kWideFleet, /*goal=*/0)) return;
    }
}
BENCHMARK(BM_FleetOf64AgainstOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The fleet from a ports file under a hard limit of 256 open files, which --jobs 16 must keep to:
// every terminal must succeed.
void BM_FleetOf128SixteenAtOnceAgainstOne(benchmark::State& state)
{
    Sims sims;
    if (!StartSims(kLargeFleet, sims, state)) return;
    const CTempFolder folder("dorvane-fleet-bench");
    const std::string ports = folder.File("terminals");
    std::ofstream file(ports);
    for (const auto& sim : sims) file << sim->SlavePath() << " ZEFA-102\n";
    file.close();
    const std::vector<std::string> fileLimit = {"/usr/bin/prlimit", "--nofile=256:256", "--"};
    for (auto _ : state) {
        const Upload one = Send2027({"--port", sims[0]->SlavePath()});
        const Upload fleet = Send2027({"--ports-file", ports, "--jobs", std::to_string(kJobs)}, fileLimit);
        if (!Report(state, one, fleet, kLargeFleet, kLargeFleet / kJobs * kLargeFleetOverheadGoal)) return;
    }
}
BENCHMARK(BM_FleetOf128SixteenAtOnceAgainstOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// A ports file of N network terminals, each on a host of its own, read and checked for one
// terminal given twice.
void BM_PortsFileOfNTerminals(benchmark::State& state)
{
    const CTempFolder folder("dorvane-ports-bench");
    const std::string ports = folder.File("terminals");
    std::ofstream file(ports);
    for (int i = 0; i < state.range(0); ++i) file << "rfc2217://branch" << i << "-terminal:2001 ZEFA-101\n";
    file.close();
    const std::vector<std::string> args = {"--ports-file", ports, "connect"};
    for (auto _ : state) {
        CliRequest request;
        OperatorMessage error;
        if (!ParseCommandLine(args, {2026, 12, 1, 8, 0, 0}, request, error)) {
            state.SkipWithError(error.english.c_str());
            return;
        }
        benchmark::DoNotOptimize(request.ports.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PortsFileOfNTerminals)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
