// The simulator over a long run: a million frames through its pseudo-terminal with the transcript
// streaming to a file, and the memory it holds before and after. It keeps no frame itself.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "comm/framing.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"

namespace {

constexpr std::size_t FRAMES = 1'000'000;
constexpr std::size_t WARM_UP = 10'000;
constexpr std::size_t FRAMES_PER_WRITE = 500;

// Resident memory of this process now, in kB (VmRSS).
double RssKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6);
    }
    return 0;
}

bool SendFrames(int fd, std::size_t count)
{
    const std::string frame = STX + std::string("D260101") + ETX;
    std::string batch;
    for (std::size_t i = 0; i < FRAMES_PER_WRITE; ++i) batch += frame;
    for (std::size_t sent = 0; sent < count; sent += FRAMES_PER_WRITE) {
        for (std::size_t at = 0; at < batch.size();) {
            const ssize_t n = ::write(fd, batch.data() + at, batch.size() - at);
            if (n <= 0) return false;
            at += static_cast<std::size_t>(n);
        }
    }
    return true;
}

void BM_SimulatorMillionFrames(benchmark::State& state)
{
    for (auto _ : state) {
        // Silent: nobody reads replies here, and the frames are what is measured.
        CTerminalSimulator sim(MODEL_ZEFA102, {.silent = true});
        std::FILE* transcript = std::fopen("/dev/null", "w");
        sim.SetTranscriptFile(transcript);
        std::string error;
        if (!sim.Start(error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const int tool = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        if (tool < 0 || !SendFrames(tool, WARM_UP) || !sim.WaitForFrames(WARM_UP, std::chrono::minutes(1))) {
            state.SkipWithError("the simulator did not take the warm-up frames");
            return;
        }
        const double before = RssKb();
        const auto start = std::chrono::steady_clock::now();
        if (!SendFrames(tool, FRAMES) || !sim.WaitForFrames(WARM_UP + FRAMES, std::chrono::minutes(5))) {
            state.SkipWithError("the simulator did not take every frame");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["rss_before_kB"] = before;
        state.counters["rss_growth_kB"] = RssKb() - before;
        ::close(tool);
        sim.Stop();
        std::fclose(transcript);
    }
}
BENCHMARK(BM_SimulatorMillionFrames)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
