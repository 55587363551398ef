// A lending terminal on the master side of a pseudo-terminal: the tool opens the slave as if it
// were the serial port. For demos (dorvane-sim, --simulate) and tests.
//
//   CTerminalSimulator sim(MODEL_ZEFA102);
//   std::string error;
//   if (!sim.Start(error)) ...;
//   const int port = sim.RegisterPort();   // COMn in g_portMap
//   ... open the port, talk ...
//   sim.Transcript();                      // one JSON line per received frame
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm/port_map.h"
#include "sim/terminal_state.h"

// The line a ZEFA-101 sends until it is connected.
inline constexpr const char* SIMULATOR_GREETING = "#ZEFA-101 READY";

// Misbehaviours for tests. Set before Start.
struct SimulatorFaults {
    bool silent = false;         // receives and records, never answers (nor greets)
    bool garbage = false;        // bytes the framing ignores, ahead of every reply
    int splitBytes = 0;          // replies written in pieces of this many bytes; 0: whole
    bool overlongReply = false;  // replies padded to 3000 bytes, beyond any frame buffer
    int hangUpAfterFrames = 0;   // hangs up on receiving this many D frames, unanswered; 0: never
    int baudRate = 0;            // output paced at 10 bit times per byte; 0: at once
};

// MODEL_ZEFA101 or MODEL_ZEFA102 for "ZEFA-101" or "ZEFA-102"; -1 otherwise.
int ParseModelName(const std::string& name);
const char* ModelName(int model);

class CTerminalSimulator {
public:
    explicit CTerminalSimulator(int model, const SimulatorFaults& faults = {});
    ~CTerminalSimulator();
    CTerminalSimulator(const CTerminalSimulator&) = delete;
    CTerminalSimulator& operator=(const CTerminalSimulator&) = delete;

    // A ZEFA-101 greets every `interval` until connected: one second unless set before Start;
    // zero turns the greeting off.
    void SetGreetingInterval(std::chrono::milliseconds interval) { m_greetingInterval = interval; }
    // Each transcript line is also written and flushed here (stdout, a file); not owned. Set
    // before Start.
    void SetTranscriptFile(std::FILE* file) { m_transcriptFile = file; }

    // Opens the pseudo-terminal and starts answering; `error` says why not.
    bool Start(std::string& error);
    // Stops and closes the pseudo-terminal (the tool's side sees a hang-up). Idempotent.
    void Stop();

    const std::string& SlavePath() const { return m_strSlavePath; }
    // Lists the slave in the port map as "ZEFA-10x simulator"; gives its port number.
    int RegisterPort(CPortMap& map = g_portMap) const;

    std::vector<std::string> Transcript() const;
    // Waits until `count` frames have been received; false after `timeout`.
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
    bool HungUp() const { return m_bHungUp; }
    CTerminalState State() const;

private:
    void Run();
    void OnFrame(const std::string& frame);
    void Reply(std::string text, bool readReply);
    void Send(const std::string& bytes);
    bool WriteAll(const char* data, std::size_t size);
    void HangUp();

    int m_nModel;
    SimulatorFaults m_faults;
    std::chrono::milliseconds m_greetingInterval{1000};
    std::FILE* m_transcriptFile = nullptr;

    int m_master = -1;
    int m_slaveKeeper = -1;  // keeps the slave side alive while the tool has it closed
    int m_wake[2] = {-1, -1};
    std::string m_strSlavePath;
    std::thread m_thread;
    std::atomic<bool> m_bStopping{false};
    std::atomic<bool> m_bHungUp{false};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_received;
    CTerminalState m_state;
    std::vector<std::string> m_transcript;
    int m_nUploadFrames = 0;
};
