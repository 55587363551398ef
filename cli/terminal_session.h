// One run of dorvane-cli against a terminal: the serial object's owner and the protocol's host,
// waiting on the main thread for each reply the way the dialog waits for its events.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

#include "cli/exit_status.h"
#include "comm/comm.h"
#include "protocol/protocol_host.h"

class CTerminalSession : public ProtocolHost, public CCommOwner {
public:
    CTerminalSession(int model, int year, double timeoutSeconds);
    ~CTerminalSession() override;

    // Opens COMn; on failure the reason is in Error() and the status is EXIT_PORT_UNAVAILABLE.
    ExitStatus Open(int port);
    // Connects in the model's way: waits until the terminal has answered "OK".
    ExitStatus Connect();
    // Waits for replies until one has one of the `wanted` reply bits (REPLY_...); 0 takes any.
    ExitStatus AwaitReply(int wanted);

    // Why the last step failed: Korean, then English.
    const std::string& ErrorKorean() const { return m_strErrorKorean; }
    const std::string& ErrorEnglish() const { return m_strErrorEnglish; }

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
    void PostCommError(int port, const std::string& message, const std::string& detail) override;
    void ShowCommError(const std::string& message, const std::string& detail) override;

private:
    ExitStatus Fail(ExitStatus status, std::string korean, std::string english);

    CComm m_comm;
    const int m_nModel;
    const int m_nYear;
    const double m_timeoutSeconds;
    std::mutex m_mutex;
    std::condition_variable m_event;
    int m_nFramesWaiting = 0;  // the reader holds at most one, but count to be safe
    bool m_bPortLost = false;
    std::string m_strLostKorean;
    std::string m_strLostDetail;
    std::string m_strErrorKorean;
    std::string m_strErrorEnglish;
};
