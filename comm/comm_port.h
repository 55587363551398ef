// The transport under the serial object: one open line, the reader's wait on it, and writes.
// CComm (comm.h) keeps everything portable (framers, reader loop, hand-off) and reaches the OS
// only through this interface: the POSIX tty in comm_posix.cpp, the Win32 COM port in
// comm_win32.cpp, a terminal on the network in comm_network.cpp. CComm::CreateIoEvents chooses
// the transport for the port it is about to open, by the port's name; the framers, the hand-off
// and the protocol are the same whichever it is.
//
// Threads: the reader thread calls BeginReaderWait, WaitForInput, ReadAvailable and
// EndReaderWait; WakeReader may come from any thread at any moment and must never be lost; the
// owner's thread calls the rest, and calls Close only after the reader has been joined.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/operator_message.h"
#include "comm/line_settings.h"


class CCommPort {
public:
    enum WaitResult {
        WAIT_INPUT,   // read what is queued (possibly nothing)
        WAIT_WOKEN,   // WakeReader was called: look at the running flag
        WAIT_HANGUP,  // the line is gone; read what is left, then stop
    };

    virtual ~CCommPort() = default;

    // The objects the reader waits on and is woken by. They outlive Close.
    virtual bool CreateIoEvents() = 0;
    virtual void CloseIoEvents() = 0;

    // Opens the line exclusively. On failure `failure.english` names the device and what the
    // system said, and `failure.korean` (may stay empty) says how the operator can fix it.
    virtual bool Open(const CommLineSettings& settings, OperatorMessage& failure) = 0;
    // Baud rate, data bits, parity and stop bits; DTR and RTS raised; no flow control. On
    // failure `failure` names, where the transport can tell, the setting refused and what the
    // line answered.
    virtual bool ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure) = 0;
    virtual bool IsOpen() const = 0;
    // Drops DTR, discards both queues and closes the line. Idempotent.
    virtual void Close() = 0;
    // What Open opened (or tried to), for messages.
    virtual const std::string& Device() const = 0;

    // Reader thread, once before its first wait: `failure` says why it cannot wait.
    virtual bool BeginReaderWait(OperatorMessage& failure) = 0;
    // Reader thread: blocks until bytes arrive, WakeReader is called or the line goes away.
    virtual WaitResult WaitForInput() = 0;
    // Reader thread, after its last wait.
    virtual void EndReaderWait() = 0;
    // Any thread: releases a WaitForInput now or, if none is running, the next one.
    virtual void WakeReader() = 0;

    // Reader thread: what the driver has queued, at most maxBytes; never blocks. 0 when the line
    // is gone.
    virtual std::uint32_t ReadAvailable(char* buffer, std::uint32_t maxBytes) = 0;
    // Writes all of `data`, waiting at most about a second for the line; false when it could not.
    // A network port queues it for its reader thread, the one that touches the connection; a
    // write that fails there ends the line as a hang-up.
    virtual bool Write(const char* data, std::uint32_t length) = 0;

    // Owner's thread, before Open: asked while Open and ApplyLineSettings wait on something
    // that can take long (a network peer); true makes them give up at once.
    void SetCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }

protected:
    bool Cancelled() const { return m_cancelled && m_cancelled(); }

private:
    std::function<bool()> m_cancelled;
};

// The transport for port n (comm_transport.cpp): a network one when g_portMap gives n a network
// address (ports/net_address.h), else the platform's serial port.
std::unique_ptr<CCommPort> CreateCommPort(int port);
// The platform's serial port (comm_posix.cpp, comm_win32.cpp).
std::unique_ptr<CCommPort> CreateSystemCommPort();
// A terminal at a network address (comm_network.cpp; network_none.cpp where a build has none).
std::unique_ptr<CCommPort> CreateNetworkCommPort(const std::string& url);
