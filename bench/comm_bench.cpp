// Framer throughput, and the turnaround of one exchange through a real pseudo-terminal: the
// tool writes a frame, the simulated terminal answers at once, the reader hands the reply over.
#include <benchmark/benchmark.h>
#include <string>

#include "comm/comm.h"
#include "comm/terminal_link.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/comm_owners.h"

namespace {

void FramerThroughput(benchmark::State& state, int framing, const std::string& chunk)
{
    CComm comm;
    InlineOwner owner(comm);
    owner.keepFrames = false;
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = framing;
    for (auto _ : state) {
        comm.Frame(chunk);
        benchmark::DoNotOptimize(comm.m_frame);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(chunk.size()));
    if (owner.delivered == 0) state.SkipWithError("no frame delivered");
}

// Full 2048-byte reads, each ending one frame.
void BM_FrameLines(benchmark::State& state)
{
    FramerThroughput(state, FRAMING_LINES, std::string(COMM_READ_MAX - 2, 'x') + CR + LF);
}
BENCHMARK(BM_FrameLines);

void BM_FrameStxEtx(benchmark::State& state)
{
    FramerThroughput(state, FRAMING_STX_ETX, STX + std::string(COMM_READ_MAX - 2, 'x') + ETX);
}
BENCHMARK(BM_FrameStxEtx);

void BM_PtyTurnaround(benchmark::State& state)
{
    CTerminalSimulator simulator(MODEL_ZEFA102);
    std::string error;
    if (!simulator.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CComm comm;
    QueueOwner owner(comm);  // plays the UI thread: waits for the posted frame, copies it, re-arms
    if (!OpenTerminalLink(comm, owner, simulator.RegisterPort(), FRAMING_STX_ETX)) {
        state.SkipWithError("the simulator's port did not open");
        return;
    }
    const std::string frame = STX + std::string("D260101") + ETX;
    for (auto _ : state) {
        comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
        if (owner.NextFrame() != "OK") {
            state.SkipWithError("unexpected reply");
            break;
        }
    }
    comm.Shutdown();
}
BENCHMARK(BM_PtyTurnaround)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
