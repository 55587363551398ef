// One step of an exchange with the terminal: a frame went out, and the step waits for the reply
// that moves it on. The dialog and dorvane-cli both wait this way.
//
// The deadline is the time-out after the frame went out. A reply that began to arrive before
// then may go on: until the time-out after its last byte, so a slow line is not cut off, but
// never past the time-out and LONGEST_REPLY_WIRE_TIME after its first byte, so a trickle (a byte
// a second in a frame that never ends) still ends. A reply that does not move the step on (a
// greeting, "NG" where "OK" is needed) leaves the deadline where it was, and so does noise: a
// chattering terminal cannot keep a dead exchange alive.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/operator_message.h"
#include "comm/framing.h"
#include "comm/line_settings.h"
#include "comm/reply_arrival.h"

// The longest honest reply on the wire: COMM_FRAME_MAX bytes and their two delimiters at the
// terminal's baud rate, ten bits a byte (start, eight data, stop): about 2.14 s.
inline constexpr std::chrono::microseconds LONGEST_REPLY_WIRE_TIME{(COMM_FRAME_MAX + 2) * 10 * 1'000'000LL /
                                                                   TERMINAL_BAUD_RATE};

class CExchangeStep {
public:
    using Clock = std::chrono::steady_clock;

    enum Kind {
        STEP_NONE,
        STEP_HELD_CONNECT,  // ZEFA-101: the connect frame waits for the terminal to speak first
        STEP_CONNECT,       // the connect frame went out; "OK" connects
        STEP_COMMAND,       // T, C, W or L went out; "OK" takes it
        STEP_UPLOAD,        // a D frame went out; any reply sends the next
        STEP_READ,          // R went out; the next reply is the holiday list
    };

    // What the line brought while the step waited, for the message when it fails.
    enum Heard {
        HEARD_NOTHING,
        HEARD_NOISE,  // bytes, but no reply
        HEARD_REPLY,  // replies that did not move the step on; the last is LastReply()
    };

    explicit CExchangeStep(Clock::duration timeout) : m_timeout(timeout) {}

    void SetTimeout(Clock::duration timeout) { m_timeout = timeout; }
    Clock::duration Timeout() const { return m_timeout; }

    // A frame that waits for a reply of `kind` went out at `now`. `bytesRead` is the line's
    // byte count then (CComm::BytesRead), so that later bytes can be told apart.
    void Begin(Kind kind, Clock::time_point now, std::uint64_t bytesRead);
    // The ZEFA-101 connect: nothing went out. With `bounded` the wait for the terminal to speak
    // ends at the time-out, as a frame's would; without, it lasts until the step is ended.
    void Hold(Clock::time_point now, std::uint64_t bytesRead, bool bounded);
    // One reply, with the reply handler's effect bits (REPLY_...). True when it moved the step on:
    // the step then waits for the next reply from `now`, or has ended.
    bool OnReply(int effect, std::string_view text, Clock::time_point now, std::uint64_t bytesRead);
    // What the line has done since: its byte count, and the reply that is still arriving, if one
    // is (CComm::ReplyArriving).
    void OnLineActivity(std::uint64_t bytesRead, std::optional<ReplyArrival> replyArriving);
    void End();

    Kind Waiting() const { return m_kind; }
    // When the step fails unless its reply comes first; none while nothing is awaited or a held
    // connect waits without bound.
    std::optional<Clock::time_point> Deadline() const;
    bool Expired(Clock::time_point now) const;

    Heard WhatWasHeard() const;
    const std::string& LastReply() const { return m_strLastReply; }

private:
    Clock::duration m_timeout;
    Kind m_kind = STEP_NONE;
    bool m_bBounded = true;
    Clock::time_point m_tDeadline{};
    std::optional<ReplyArrival> m_replyArriving;
    std::uint64_t m_nBytesAtStart = 0;
    std::uint64_t m_nBytesSeen = 0;
    bool m_bHeardReply = false;
    std::string m_strLastReply;
};

// Why a step failed at its deadline.
OperatorMessage DescribeExpiredStep(const CExchangeStep& step);
