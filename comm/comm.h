// The serial object: opens one port COMn at fixed line settings, runs one reader thread that
// cuts the incoming bytes into frames, and hands each complete frame to its owner.
//
// Hand-off (the reader never blocks on the owner, and the owner never blocks on the reader):
//   1. The reader completes a frame: m_frame holds its bytes and a NUL, m_nFrameLen its length,
//      m_nFrameState becomes FRAME_READY.
//   2. The reader calls CCommOwner::PostCommFrame(port) and then waits until the owner has
//      re-armed the framer with RearmFramer(), or until the port closes.
//   3. The owner reads m_frame in place on its own (UI) thread and, as its last step, calls
//      RearmFramer(). Bytes that arrive meanwhile wait in the driver's queue.
//   4. The reader frames the rest of the read that held the frame, like any later bytes: a
//      driver or a device server hands over several replies in one read when the reader is late.
// Close() and Shutdown() from the UI thread wake a reader that waits in step 2 and join it.
//
// Set the owner and m_nFraming before Open(), so that no frame reaches an unset owner.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "base/operator_message.h"
#include "comm/framing.h"
#include "comm/line_settings.h"
#include "comm/reply_arrival.h"

class CCommPort;  // the OS side, comm/comm_port.h

inline constexpr int FRAME_IDLE = 0;
inline constexpr int FRAME_IN_STX = 2;
inline constexpr int FRAME_GOT_CR = 4;
inline constexpr int FRAME_READY = 8;

// Whoever handles the frames: the setup dialog, the headless tool, tests.
class CCommOwner {
public:
    virtual ~CCommOwner() = default;

    // Reader thread. A complete frame waits in CComm::m_frame. Must return at once: queue the
    // work for the owner's own thread, which reads the frame and then calls RearmFramer().
    virtual void PostCommFrame(int port) = 0;

    // Reader thread. The reader has ended for good (the device vanished: a USB adapter pulled,
    // the simulator hung up); m_bRunning is 0. Queue the message for the owner's own thread;
    // never call Close or Shutdown from here.
    virtual void PostCommError(int port, const OperatorMessage& error) = 0;

    // Caller's (UI) thread, from Open(): the port could not be opened. `error.korean` is the text
    // for the operator's message box; `error.english` names the device and what the system said.
    virtual void ShowCommError(const OperatorMessage& error) = 0;

    // Caller's (UI) thread, again and again while Open() waits on the network: true gives the
    // open up at once (dorvane-cli got SIGINT during a TLS handshake). Open then fails.
    virtual bool OpenCancelled() { return false; }
};

// Device name that Win32 opens for port n: COM1..COM9, \\.\COM10 and up.
std::string CommDeviceName(int port);

class CComm {
public:
    CComm();
    virtual ~CComm();

    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    // Stores the values only. Stop bits before parity.
    void SetPortParams(std::uint8_t port, std::uint32_t baudRate, std::uint8_t byteSize, CommStopBits stopBits,
                       CommParity parity);
    // Chooses the transport for the port set above and makes what its reader waits on (Win32:
    // the overlapped I/O events and the stop event; POSIX and network: the pipe that wakes the
    // reader).
    // Whatever was open is closed first. Open calls it when nobody has.
    bool CreateIoEvents();
    // Opens the port, applies the line settings and starts the reader. Windows opens COMn; POSIX
    // opens the device g_portMap gives for n (ports/port_map.h); a network address that g_portMap
    // gives for n opens a connection to it (ports/net_address.h). On failure the owner's
    // ShowCommError receives "COM%d 포트를 열수가 없습니다." (and a line of advice where the operator
    // can fix it) and the result is false.
    bool Open();
    // `failure` names the setting refused and, where the line said, what it answered.
    bool ApplyLineSettings(OperatorMessage& failure);
    void SetOwnerWindow(CCommOwner* owner) { m_hOwner = owner; }
    // Reader thread only: what the driver has queued, at most maxBytes.
    std::uint32_t ReadAvailable(char* buffer, std::uint32_t maxBytes);
    // Writes the whole frame (waits at most about a second for the line); the buffer may be
    // reused at once. false when the port is not open or the write failed.
    bool Write(const char* data, std::uint32_t length);
    // Drops DTR, discards both queues, closes the port; wakes and joins the reader first.
    // Never call from the reader thread (owner callbacks run there).
    bool Close();
    // Close when anything is open, then releases the I/O events. Idempotent.
    bool Shutdown();

    // Owner's thread, last step of handling a frame: lets the reader collect the next one.
    void RearmFramer();
    // Owner's thread: the reply being collected is given up (its exchange was abandoned). The
    // framer starts clean with the next read, so the next reply is not glued to its tail.
    void DiscardPartialReply();

    // Any thread: bytes read from the line since construction.
    std::uint64_t BytesRead() const { return m_nBytesRead; }
    // Any thread: the reply the framer is still collecting, if it holds part of one.
    std::optional<ReplyArrival> ReplyArriving() const;

    // Reader thread (tests and benchmarks feed it too): frames one read in the framing of
    // m_nFraming. Each completed frame is handed to the owner (see the top of this file), and
    // once the owner has re-armed the framer the rest of the read is framed too. What is left
    // when the owner does not re-arm (the port closes, or no owner is set) is dropped, and so is
    // every read until someone re-arms.
    void Frame(std::string_view chunk);

    std::atomic<int> m_bRunning{0};
    char m_frame[COMM_FRAME_MAX + 1] = {};
    std::atomic<CCommOwner*> m_hOwner{nullptr};
    std::atomic<int> m_bLongReply{0};
    std::atomic<int> m_nFraming{FRAMING_LINES};
    std::uint8_t m_nPort = 0;
    std::uint8_t m_byteSize = 8;
    CommParity m_parity = CommParity::None;
    CommStopBits m_stopBits = CommStopBits::One;
    std::uint32_t m_baudRate = TERMINAL_BAUD_RATE;
    std::atomic<int> m_nFrameLen{0};
    std::atomic<int> m_nFrameState{FRAME_IDLE};

private:
    // The framers take bytes of `chunk` until a frame is complete (m_nFrameState FRAME_READY,
    // m_frame its bytes and a NUL) or the chunk ends; they return how many they took.
    std::size_t FrameLines(std::string_view chunk, bool longReply);
    std::size_t FrameStxEtx(std::string_view chunk);
    void CompleteFrame(int length);
    // Hands the completed frame to the owner and waits until it is re-armed or the port closes;
    // true when the framer may go on.
    bool HandOff();
    void NoteArrival(int lengthBefore, int stateBefore, std::chrono::steady_clock::time_point readAt);
    void ReaderThreadProc();
    void StopReader();
    // `failure.korean`, when there is one, is a second line of the message saying how to fix it.
    void ReportOpenFailure(const OperatorMessage& failure);

    CommLineSettings LineSettings() const;
    bool IsDeviceOpen() const;

    std::atomic<std::uint64_t> m_nBytesRead{0};
    std::optional<ReplyArrival> m_replyArriving;  // under m_handoffMutex
    std::atomic<bool> m_bDiscardPartial{false};
    std::unique_ptr<CCommPort> m_pPort;  // the open line's transport; null before CreateIoEvents
    mutable std::mutex m_handoffMutex;
    std::condition_variable m_handoff;
    std::thread m_reader;
};
