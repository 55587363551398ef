#include "cli/terminal_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/console_text.h"
#include "base/printable_text.h"
#include "cli/interrupts.h"
#include "comm/terminal_link.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"

namespace {

using Clock = CExchangeStep::Clock;

// How often a wait looks up from the line to see whether a signal came.
constexpr auto kSignalPoll = std::chrono::milliseconds(50);

Clock::duration Seconds(double seconds)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

CTerminalSession::CTerminalSession(int model, int year, double timeoutSeconds)
    : m_nModel(model), m_nYear(year), m_step(Seconds(timeoutSeconds))
{
    ResetLink();
}

CTerminalSession::~CTerminalSession()
{
    m_comm.Shutdown();
}

ExitStatus CTerminalSession::Fail(ExitStatus status, OperatorMessage error)
{
    m_error = std::move(error);
    return status;
}

ExitStatus CTerminalSession::Open(int port)
{
    if (!OpenTerminalLink(m_comm, *this, port, ModelFraming(m_nModel))) {
        if (const int signal = InterruptSignal(); signal != 0) {
            m_nSignal = signal;
            return EXIT_INTERRUPTED;
        }
        if (m_error.korean.empty()) {
            return Fail(EXIT_PORT_UNAVAILABLE, {"COM" + std::to_string(port) + " 포트를 열수가 없습니다.",
                                                "could not open port COM" + std::to_string(port)});
        }
        return EXIT_PORT_UNAVAILABLE;
    }
    return EXIT_OK;
}

ExitStatus CTerminalSession::Connect()
{
    const std::uint64_t bytes = m_comm.BytesRead();
    const Clock::time_point now = Clock::now();
    OnSystemConnect(*this, m_nModel);
    if (g_nPendingCmd == PENDING_CONNECT) {
        m_step.Hold(now, bytes, true);  // unlike the dialog, a script must not wait for ever
    } else {
        m_step.Begin(CExchangeStep::STEP_CONNECT, now, bytes);
    }
    return AwaitStep();
}

ExitStatus CTerminalSession::Exchange(CExchangeStep::Kind kind, const std::function<void()>& send)
{
    const std::uint64_t bytes = m_comm.BytesRead();
    const Clock::time_point now = Clock::now();
    send();
    m_step.Begin(kind, now, bytes);
    return AwaitStep();
}

ExitStatus CTerminalSession::AwaitStep()
{
    for (;;) {
        if (const int signal = InterruptSignal(); signal != 0) {
            m_nSignal = signal;
            AbandonExchange(*this);
            m_step.End();
            return EXIT_INTERRUPTED;
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        Clock::time_point wake = Clock::now() + kSignalPoll;
        if (const auto deadline = m_step.Deadline(); deadline && *deadline < wake) wake = *deadline;
        m_event.wait_until(lock, wake, [this] { return m_nFramesWaiting > 0 || m_bPortLost; });
        if (m_nFramesWaiting > 0) {
            --m_nFramesWaiting;
            lock.unlock();
            // The reader waits until OnCommFrame re-arms the framer, so m_frame holds still here.
            const std::string text(m_comm.m_frame, static_cast<std::size_t>(m_comm.m_nFrameLen));
            const int effect = OnCommFrame(*this, m_nModel, m_nYear, m_comm.m_frame);
            m_step.OnReply(effect, text, Clock::now(), m_comm.BytesRead());
            if (m_step.Waiting() == CExchangeStep::STEP_NONE) return EXIT_OK;
            continue;
        }
        if (m_bPortLost) {
            m_step.End();
            return Fail(EXIT_PORT_LOST, {m_lost.korean, "the port went away: " + m_lost.english});
        }
        lock.unlock();
        m_step.OnLineActivity(m_comm.BytesRead(), m_comm.ReplyArriving());
        if (m_step.Expired(Clock::now())) {
            const OperatorMessage failure = DescribeExpiredStep(m_step);
            WriteConsole(TimeoutLine(failure.korean));
            AbandonExchange(*this);
            m_step.End();
            return Fail(EXIT_NO_REPLY, failure);
        }
    }
}

void CTerminalSession::WriteConsole(const std::string& line)
{
    // A closed pipe fails here; the SIGPIPE it raises ends the run at the next wait.
    WriteText(stdout, PrintableLine(line));
}

void CTerminalSession::SetTotalCaption(const std::string& text)
{
    WriteConsole(text + "\n");
}

void CTerminalSession::WriteFrame(const std::string& frame)
{
    m_comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
}

void CTerminalSession::ShowMessage(const std::string& text)
{
    WriteText(stderr, "dorvane-cli: " + PrintableText(text) + "\n");
}

void CTerminalSession::SetStatusCaption(const std::string& text)
{
    WriteConsole(text + "\n");
}

void CTerminalSession::PostCommFrame(int /*port*/)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nFramesWaiting;
    m_event.notify_one();
}

void CTerminalSession::PostCommError(int /*port*/, const OperatorMessage& error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bPortLost = true;
    m_lost = error;
    m_event.notify_one();
}

bool CTerminalSession::OpenCancelled()
{
    return InterruptSignal() != 0;
}

void CTerminalSession::ShowCommError(const OperatorMessage& error)
{
    // The message's advice goes on its own line in a box; the tool says all in one line.
    m_error = {error.korean, "could not open port COM" + std::to_string(m_comm.m_nPort) + ": " + error.english};
    std::replace(m_error.korean.begin(), m_error.korean.end(), '\n', ' ');
}
