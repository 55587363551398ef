#include "cli/terminal_session.h"

#include <chrono>
#include <cstdio>

#include "comm/terminal_link.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"

CTerminalSession::CTerminalSession(int model, int year, double timeoutSeconds)
    : m_nModel(model), m_nYear(year), m_timeoutSeconds(timeoutSeconds)
{
    ResetLink();
}

CTerminalSession::~CTerminalSession()
{
    m_comm.Shutdown();
}

ExitStatus CTerminalSession::Fail(ExitStatus status, std::string korean, std::string english)
{
    m_strErrorKorean = std::move(korean);
    m_strErrorEnglish = std::move(english);
    return status;
}

ExitStatus CTerminalSession::Open(int port)
{
    if (!OpenTerminalLink(m_comm, *this, port, ModelFraming(m_nModel))) {
        if (m_strErrorKorean.empty()) {
            return Fail(EXIT_PORT_UNAVAILABLE, "COM" + std::to_string(port) + " 포트를 열수가 없습니다.",
                        "could not open port COM" + std::to_string(port));
        }
        return EXIT_PORT_UNAVAILABLE;
    }
    return EXIT_OK;
}

ExitStatus CTerminalSession::Connect()
{
    OnSystemConnect(*this, m_nModel);
    while (g_bConnected != 1) {
        if (const ExitStatus status = AwaitReply(0); status != EXIT_OK) return status;
    }
    return EXIT_OK;
}

ExitStatus CTerminalSession::AwaitReply(int wanted)
{
    const auto timeout = std::chrono::duration<double>(m_timeoutSeconds);
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            const bool ready = m_event.wait_for(lock, timeout, [this] { return m_nFramesWaiting > 0 || m_bPortLost; });
            if (m_nFramesWaiting == 0 && m_bPortLost) {
                return Fail(EXIT_PORT_LOST, m_strLostKorean, "the port went away: " + m_strLostDetail);
            }
            if (!ready) {
                char seconds[32];
                std::snprintf(seconds, sizeof seconds, "%g", m_timeoutSeconds);
                return Fail(EXIT_NO_REPLY, "단말기 응답이 없습니다.",
                            std::string("no reply from the terminal within ") + seconds + " s");
            }
            --m_nFramesWaiting;
        }
        // The reader waits until OnCommFrame re-arms the framer, so m_frame holds still here.
        const int effect = OnCommFrame(*this, m_nModel, m_nYear, m_comm.m_frame);
        if (wanted == 0 || (effect & wanted) != 0) return EXIT_OK;
    }
}

void CTerminalSession::WriteConsole(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
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
    std::fprintf(stderr, "dorvane-cli: %s\n", text.c_str());
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

void CTerminalSession::PostCommError(int /*port*/, const std::string& message, const std::string& detail)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bPortLost = true;
    m_strLostKorean = message;
    m_strLostDetail = detail;
    m_event.notify_one();
}

void CTerminalSession::ShowCommError(const std::string& message, const std::string& detail)
{
    m_strErrorKorean = message;
    m_strErrorEnglish = "could not open port COM" + std::to_string(m_comm.m_nPort) + ": " + detail;
}
