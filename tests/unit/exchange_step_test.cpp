#include "protocol/exchange_step.h"

#include <gtest/gtest.h>

#include "protocol/protocol.h"

namespace {

using namespace std::chrono_literals;
using Clock = CExchangeStep::Clock;

const Clock::time_point t0{};
constexpr auto T = 2s;

TEST(ExchangeStep, OnlyTheReplyThatMovesAStepOnRestartsItsDeadline)
{
    const struct {
        const char* name;
        CExchangeStep::Kind kind;
        int effect;
        const char* text;
        CExchangeStep::Kind after;  // STEP_NONE: ended
        bool movedOn;
    } cases[] = {
        {"connect takes OK", CExchangeStep::STEP_CONNECT, REPLY_CONNECTED, "OK", CExchangeStep::STEP_NONE, true},
        {"connect ignores a greeting", CExchangeStep::STEP_CONNECT, 0, "#ZEFA-101 READY", CExchangeStep::STEP_CONNECT,
         false},
        {"command ignores NG", CExchangeStep::STEP_COMMAND, 0, "NG", CExchangeStep::STEP_COMMAND, false},
        {"held connect answers anything", CExchangeStep::STEP_HELD_CONNECT, REPLY_HELD_SENT, "#ZEFA-101 READY",
         CExchangeStep::STEP_CONNECT, true},
        {"upload goes on", CExchangeStep::STEP_UPLOAD, REPLY_UPLOAD_NEXT, "NG", CExchangeStep::STEP_UPLOAD, true},
        {"upload ends", CExchangeStep::STEP_UPLOAD, REPLY_UPLOAD_DONE, "OK", CExchangeStep::STEP_NONE, true},
        {"read ends on its list", CExchangeStep::STEP_READ, REPLY_READ_DONE, "RD0101", CExchangeStep::STEP_NONE, true},
    };
    for (const auto& c : cases) {
        CExchangeStep step(T);
        if (c.kind == CExchangeStep::STEP_HELD_CONNECT) {
            step.Hold(t0, 0, true);
        } else {
            step.Begin(c.kind, t0, 0);
        }
        EXPECT_EQ(step.OnReply(c.effect, c.text, t0 + 1s, 10), c.movedOn) << c.name;
        EXPECT_EQ(step.Waiting(), c.after) << c.name;
        if (c.after != CExchangeStep::STEP_NONE) {
            EXPECT_EQ(step.Deadline(), t0 + (c.movedOn ? 1s : 0s) + T) << c.name;
        }
    }
}

// The longest honest reply, 2048 bytes at 9600 baud, is 2.135 s on the wire.
TEST(ExchangeStep, AReplyStillArrivingGoesOnAsLongAsAnHonestOneCanButATrickleEnds)
{
    constexpr auto wire = 2135ms;
    const struct {
        const char* name;
        Clock::duration timeout;
        std::optional<ReplyArrival> arriving;  // first and last byte
        Clock::duration now;
        bool expired;
    } cases[] = {
        {"nothing arriving", 100ms, std::nullopt, 100ms, true},
        {"longest reply, shortest time-out", 100ms, ReplyArrival{t0 + 99ms, t0 + 99ms + wire}, 99ms + wire, false},
        {"quiet a time-out after its last byte", 2s, ReplyArrival{t0 + 1s, t0 + 3s}, 5s, true},
        {"still growing past the longest reply", 100ms, ReplyArrival{t0 + 50ms, t0 + 3s}, 3s, true},
        {"begun after the deadline", 100ms, ReplyArrival{t0 + 150ms, t0 + 150ms}, 150ms, true},
    };
    for (const auto& c : cases) {
        CExchangeStep step(c.timeout);
        step.Begin(CExchangeStep::STEP_READ, t0, 0);
        step.OnLineActivity(40, c.arriving);
        EXPECT_EQ(step.Expired(t0 + c.now), c.expired) << c.name;
    }
    CExchangeStep step(T);
    step.Begin(CExchangeStep::STEP_READ, t0, 0);
    step.OnLineActivity(40, ReplyArrival{t0 + 1s, t0 + 3s});
    EXPECT_FALSE(step.Expired(t0 + 4s));
    step.OnReply(0, "NG", t0 + 4s, 41);  // it came, and it was not the list
    EXPECT_TRUE(step.Expired(t0 + 4s));
}

TEST(ExchangeStep, AHeldConnectWaitsWithoutBoundUnlessAsked)
{
    CExchangeStep step(T);
    step.Hold(t0, 0, false);
    EXPECT_EQ(step.Deadline(), std::nullopt);
    EXPECT_FALSE(step.Expired(t0 + 1h));
    step.Hold(t0, 0, true);
    EXPECT_TRUE(step.Expired(t0 + T));
}

TEST(ExchangeStep, AFailureSaysWhatTheLineBrought)
{
    CExchangeStep silent(T);
    silent.Begin(CExchangeStep::STEP_COMMAND, t0, 5);
    silent.OnLineActivity(5, std::nullopt);
    EXPECT_EQ(DescribeExpiredStep(silent).english, "no reply from the terminal within 2 s");
    EXPECT_EQ(DescribeExpiredStep(silent).korean, "단말기 응답이 없습니다.");

    CExchangeStep noise(T);
    noise.Begin(CExchangeStep::STEP_CONNECT, t0, 5);
    noise.OnLineActivity(90, std::nullopt);
    EXPECT_EQ(DescribeExpiredStep(noise).english, "only line noise, no reply from the terminal within 2 s");

    CExchangeStep refused(T);
    refused.Begin(CExchangeStep::STEP_COMMAND, t0, 5);
    refused.OnReply(0, "NG", t0 + 1s, 9);
    EXPECT_EQ(DescribeExpiredStep(refused).english, "the terminal answered \"NG\"");
    EXPECT_EQ(DescribeExpiredStep(refused).korean, "단말기가 \"NG\" 응답을 보냈습니다.");
}

}  // namespace
