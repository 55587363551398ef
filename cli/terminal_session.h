// One run of dorvane-cli against a terminal: the serial object's owner and the protocol's host.
// The main thread plays the dialog's UI thread: it sends, then waits for the reply that moves the
// exchange on (protocol/exchange_step.h), handling each reply as the dialog does.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

#include "cli/exit_status.h"
#include "comm/comm.h"
#include "protocol/exchange_step.h"
#include "protocol/protocol_host.h"

class CTerminalSession : public ProtocolHost, public CCommOwner {
public:
    CTerminalSession(int model, int year, double timeoutSeconds);
    ~CTerminalSession() override;

    // Opens COMn; on failure the reason is in Error(). A signal gives up an open that waits (a
    // network peer) at once: EXIT_INTERRUPTED.
    ExitStatus Open(int port);
    // Connects in the model's way: a ZEFA-101 is answered when it speaks (within the time-out),
    // and "OK" must come within the time-out of the connect frame.
    ExitStatus Connect();
    // `send` writes a frame that waits for a reply of `kind` (CExchangeStep::Kind); waits for it.
    ExitStatus Exchange(CExchangeStep::Kind kind, const std::function<void()>& send);

    // Why the last step failed.
    const OperatorMessage& Error() const { return m_error; }
    // The signal that ended the run, or 0.
    int Interrupted() const { return m_nSignal; }
    // Records why the run fails, for Error(); returns `status`.
    ExitStatus Fail(ExitStatus status, OperatorMessage error);

    // ProtocolHost
    void WriteConsole(const std::string& line) override;
    void SetTotalCaption(const std::string& text) override;
    void WriteFrame(const std::string& frame) override;
    void ShowMessage(const std::string& text) override;
    void SetStatusCaption(const std::string& text) override;
    void Repaint() override {}  // no window to repaint
    int GetLongReply() override { return m_comm.m_bLongReply; }
    void SetLongReply(int value) override { m_comm.m_bLongReply = value; }
    void RearmFramer() override { m_comm.RearmFramer(); }
    void DiscardPartialReply() override { m_comm.DiscardPartialReply(); }

    // CCommOwner
    void PostCommFrame(int port) override;
    void PostCommError(int port, const OperatorMessage& error) override;
    void ShowCommError(const OperatorMessage& error) override;
    bool OpenCancelled() override;

private:
    ExitStatus AwaitStep();

    CComm m_comm;
    const int m_nModel;
    const int m_nYear;
    CExchangeStep m_step;
    std::mutex m_mutex;
    std::condition_variable m_event;
    int m_nFramesWaiting = 0;  // the reader holds at most one, but count to be safe
    bool m_bPortLost = false;
    int m_nSignal = 0;
    OperatorMessage m_lost;  // why the port went away
    OperatorMessage m_error;
};
