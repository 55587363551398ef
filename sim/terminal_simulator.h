// A lending terminal on the master side of a pseudo-terminal: the tool opens the slave as if it
// were the serial port. For demos (dorvane-sim, --simulate) and tests.
//
//   CTerminalSimulator sim(MODEL_ZEFA102);
//   std::string error;
//   if (!sim.Start(error)) ...;
//   const int port = sim.RegisterPort();   // COMn in g_portMap
//   ... open the port, talk ...
//   sim.Received();                        // the frames it received, with its answers
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ports/port_map.h"
#include "sim/terminal_state.h"

// The line a ZEFA-101 sends until it is connected.
inline constexpr const char* SIMULATOR_GREETING = "#ZEFA-101 READY";

// Misbehaviours for tests. Set before Start.
struct SimulatorFaults {
    bool silent = false;            // receives and records, never answers (nor greets)
    bool garbage = false;           // bytes the framing ignores, ahead of every reply
    int splitBytes = 0;             // replies written in pieces of this many bytes; 0: whole
    bool overlongReply = false;     // replies padded to 3000 bytes, beyond any frame buffer
    int hangUpAfterFrames = 0;      // hangs up on receiving this many D frames, unanswered; 0: never
    int baudRate = 0;               // the line's speed both ways, 10 bit times a byte; 0: at once
    bool refuse = false;            // answers "NG" to every frame and keeps nothing
    int noiseEveryMs = 0;           // line noise this often and never an answer nor a greeting; 0: off
    int forgetDay = 0;              // MMDD: its D frame is answered OK and nothing is kept; 0: off
    std::string uploadReplyTail{};  // ends every answer to a D frame: a hostile terminal's bytes
};

// One frame the terminal received, and what it did about it.
struct ReceivedFrame {
    std::size_t seq = 0;               // 1 for the first frame of the run
    std::string command;               // its command letter; empty when it has none
    std::string frame;                 // its text without delimiters (ZEFA-101 frames keep '#')
    std::optional<std::string> reply;  // the answer's text; none when it stayed silent
};

class CTerminalSimulator {
public:
    explicit CTerminalSimulator(int model, const SimulatorFaults& faults = {});
    ~CTerminalSimulator();
    CTerminalSimulator(const CTerminalSimulator&) = delete;
    CTerminalSimulator& operator=(const CTerminalSimulator&) = delete;

    // A ZEFA-101 greets every `interval` until connected: one second unless set before Start;
    // zero turns the greeting off.
    void SetGreetingInterval(std::chrono::milliseconds interval) { m_greetingInterval = interval; }
    // Every received frame is written and flushed here as one JSON line (stdout, a file); not
    // owned. Set before Start.
    void SetTranscriptFile(std::FILE* file) { m_transcriptFile = file; }
    // Keeps every received frame for Received(). Off unless asked, so that a simulator that
    // runs for days stays flat in memory. Set before Start.
    void KeepReceivedFrames() { m_bKeepFrames = true; }

    // Opens the pseudo-terminal and starts answering; `error` says why not.
    bool Start(std::string& error);
    // Stops and closes the pseudo-terminal (the tool's side sees a hang-up). Idempotent.
    void Stop();

    const std::string& SlavePath() const { return m_strSlavePath; }
    // Lists the slave in the port map as "ZEFA-10x simulator"; gives its port number.
    int RegisterPort(CPortMap& map = g_portMap) const;

    // The frames kept since Start (see KeepReceivedFrames), in order.
    std::vector<ReceivedFrame> Received() const;
    // Waits until `count` frames have been received; false after `timeout`.
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
    bool HungUp() const { return m_bHungUp; }
    CTerminalState State() const;

private:
    void Run();
    void OnFrame(const std::string& frame);
    // The terminal's reply to a frame, faults that answer without keeping included; under m_mutex.
    std::string Answer(const ReceivedFrame& received);
    void Reply(std::string text, bool readReply);
    void Send(const std::string& bytes);
    bool WriteAll(const char* data, std::size_t size);
    void HangUp();

    int m_nModel;
    SimulatorFaults m_faults;
    std::chrono::milliseconds m_greetingInterval{1000};
    std::FILE* m_transcriptFile = nullptr;
    bool m_bKeepFrames = false;

    int m_master = -1;
    int m_slaveKeeper = -1;  // keeps the slave side alive while the tool has it closed
    int m_wake[2] = {-1, -1};
    std::string m_strSlavePath;
    std::thread m_thread;
    std::atomic<bool> m_bStopping{false};
    std::atomic<bool> m_bHungUp{false};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_frameArrived;
    CTerminalState m_state;
    std::size_t m_nReceived = 0;
    std::vector<ReceivedFrame> m_received;
    int m_nUploadFrames = 0;
    // The paced line's clock, on the simulator's thread: when the last byte received so far
    // arrived (while its read is handled), and when the bytes sent so far are through.
    std::optional<std::chrono::steady_clock::time_point> m_replyFrom;
    std::chrono::steady_clock::time_point m_transmitFreeAt{};
};
