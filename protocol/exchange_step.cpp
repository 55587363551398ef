#include "protocol/exchange_step.h"

#include <algorithm>
#include <cstdio>

#include "base/printable_text.h"
#include "protocol/protocol.h"

void CExchangeStep::Begin(Kind kind, Clock::time_point now, std::uint64_t bytesRead)
{
    m_kind = kind;
    m_bBounded = true;
    m_tDeadline = now + m_timeout;
    m_replyArriving.reset();
    m_nBytesAtStart = bytesRead;
    m_nBytesSeen = bytesRead;
    m_bHeardReply = false;
    m_strLastReply.clear();
}

void CExchangeStep::Hold(Clock::time_point now, std::uint64_t bytesRead, bool bounded)
{
    Begin(STEP_HELD_CONNECT, now, bytesRead);
    m_bBounded = bounded;
}

bool CExchangeStep::OnReply(int effect, std::string_view text, Clock::time_point now, std::uint64_t bytesRead)
{
    Kind next = STEP_NONE;
    bool movedOn = false;
    switch (m_kind) {
    case STEP_NONE: return false;
    case STEP_HELD_CONNECT:
        // Whatever the terminal said, the held frame answered it; now the connect waits for OK.
        movedOn = (effect & REPLY_HELD_SENT) != 0;
        next = STEP_CONNECT;
        break;
    case STEP_CONNECT:
    case STEP_COMMAND: movedOn = text == "OK"; break;
    case STEP_UPLOAD:
        movedOn = (effect & (REPLY_UPLOAD_NEXT | REPLY_UPLOAD_DONE)) != 0;
        if (effect & REPLY_UPLOAD_NEXT) next = STEP_UPLOAD;
        break;
    case STEP_READ: movedOn = (effect & REPLY_READ_DONE) != 0; break;
    }
    if (!movedOn) {
        m_bHeardReply = true;
        m_strLastReply = text;
        m_nBytesSeen = std::max(m_nBytesSeen, bytesRead);
        m_replyArriving.reset();  // that reply has come: it no longer holds the deadline back
        return false;
    }
    if (next == STEP_NONE) {
        End();
    } else {
        Begin(next, now, bytesRead);
    }
    return true;
}

void CExchangeStep::OnLineActivity(std::uint64_t bytesRead, std::optional<ReplyArrival> replyArriving)
{
    if (m_kind == STEP_NONE) return;
    m_nBytesSeen = std::max(m_nBytesSeen, bytesRead);
    m_replyArriving = replyArriving;
}

void CExchangeStep::End()
{
    m_kind = STEP_NONE;
    m_replyArriving.reset();
}

std::optional<CExchangeStep::Clock::time_point> CExchangeStep::Deadline() const
{
    if (m_kind == STEP_NONE || !m_bBounded) return std::nullopt;
    if (!m_replyArriving || m_replyArriving->firstByte > m_tDeadline) return m_tDeadline;
    const Clock::time_point quiet = m_replyArriving->lastByte + m_timeout;
    const Clock::time_point longest = m_replyArriving->firstByte + m_timeout + LONGEST_REPLY_WIRE_TIME;
    return std::max(m_tDeadline, std::min(quiet, longest));
}

bool CExchangeStep::Expired(Clock::time_point now) const
{
    const std::optional<Clock::time_point> deadline = Deadline();
    return deadline && now >= *deadline;
}

CExchangeStep::Heard CExchangeStep::WhatWasHeard() const
{
    if (m_bHeardReply) return HEARD_REPLY;
    return m_nBytesSeen > m_nBytesAtStart ? HEARD_NOISE : HEARD_NOTHING;
}

namespace {

// A reply as a message shows it: control bytes spelled out, a long one cut.
std::string Printable(const std::string& text)
{
    constexpr std::size_t kShown = 40;
    std::string shown = PrintableText(std::string_view(text).substr(0, kShown));
    if (text.size() > kShown) shown += "...";
    return shown;
}

}  // namespace

OperatorMessage DescribeExpiredStep(const CExchangeStep& step)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g s", std::chrono::duration<double>(step.Timeout()).count());
    switch (step.WhatWasHeard()) {
    case CExchangeStep::HEARD_REPLY: {
        std::string reply = Printable(step.LastReply());
        reply.insert(reply.begin(), '"');
        reply.push_back('"');
        return {"단말기가 " + reply + " 응답을 보냈습니다.", "the terminal answered " + reply};
    }
    case CExchangeStep::HEARD_NOISE:
        return {"단말기 응답이 없습니다. 알아볼 수 없는 신호만 받았습니다.",
                std::string("only line noise, no reply from the terminal within ") + seconds};
    case CExchangeStep::HEARD_NOTHING: break;
    }
    return {TEXT_NO_REPLY, std::string("no reply from the terminal within ") + seconds};
}
