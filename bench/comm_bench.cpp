// Framer throughput, and the turnaround of one exchange through a real pseudo-terminal: the
// tool writes a frame, the simulated terminal answers at once, the reader hands the reply over.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>
#include <string>

#include "comm/comm.h"
#include "comm/port_map.h"
#include "sim/terminal_simulator.h"

namespace {

class RearmingOwner : public CCommOwner {
public:
    explicit RearmingOwner(CComm& comm) : m_comm(comm) {}
    void PostCommFrame(int) override
    {
        ++frames;
        m_comm.RearmFramer();
    }
    void PostCommError(int, const std::string&, const std::string&) override {}
    void ShowCommError(const std::string&, const std::string&) override {}
    long frames = 0;

private:
    CComm& m_comm;
};

void FramerThroughput(benchmark::State& state, int framing, const std::string& chunk)
{
    CComm comm;
    RearmingOwner owner(comm);
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = framing;
    comm.m_nLastRead = static_cast<int>(chunk.size());
    for (auto _ : state) {
        if (framing == FRAMING_LINES) {
            comm.FrameLines(chunk.data());
        } else {
            comm.FrameStxEtx(chunk.data());
        }
        benchmark::DoNotOptimize(comm.m_frame);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(chunk.size()));
    if (owner.frames == 0) state.SkipWithError("no frame delivered");
}

// Full 2048-byte reads, each ending one frame.
void BM_FrameLines(benchmark::State& state)
{
    FramerThroughput(state, FRAMING_LINES, std::string(COMM_READ_MAX - 2, 'x') + "\r\n");
}
BENCHMARK(BM_FrameLines);

void BM_FrameStxEtx(benchmark::State& state)
{
    FramerThroughput(state, FRAMING_STX_ETX, "\x02" + std::string(COMM_READ_MAX - 2, 'x') + "\x03");
}
BENCHMARK(BM_FrameStxEtx);

// Plays the UI thread: waits for the posted frame, copies it, re-arms.
class WaitingOwner : public CCommOwner {
public:
    explicit WaitingOwner(CComm& comm) : m_comm(comm) {}
    void PostCommFrame(int) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_posted;
        m_changed.notify_one();
    }
    void PostCommError(int, const std::string&, const std::string&) override {}
    void ShowCommError(const std::string&, const std::string&) override {}

    std::string Next()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_posted > 0; });
        --m_posted;
        lock.unlock();
        std::string frame(m_comm.m_frame, static_cast<std::size_t>(m_comm.m_nFrameLen));
        m_comm.RearmFramer();
        return frame;
    }

private:
    CComm& m_comm;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_posted = 0;
};

void BM_PtyTurnaround(benchmark::State& state)
{
    CTerminalSimulator simulator(MODEL_ZEFA102);
    std::string error;
    if (!simulator.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CComm comm;
    WaitingOwner owner(comm);
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = FRAMING_STX_ETX;
    comm.SetPortParams(static_cast<std::uint8_t>(simulator.RegisterPort()), 9600, 8, 0, 0);
    if (!comm.Open()) {
        state.SkipWithError("the simulator's port did not open");
        return;
    }
    const std::string frame = "\x02" "D260101\x03";
    for (auto _ : state) {
        comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
        if (owner.Next() != "OK") {
            state.SkipWithError("unexpected reply");
            break;
        }
    }
    comm.Shutdown();
}
BENCHMARK(BM_PtyTurnaround)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
