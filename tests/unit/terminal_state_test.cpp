#include "sim/terminal_state.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "comm/comm.h"
#include "sim/transcript.h"
#include "tests/support/case_name.h"
#include "tests/support/comm_owners.h"

namespace {

const TerminalClock kClock{2026, 12, 7, 2, 9, 30, 0};

struct Exchange {
    const char* frame;
    const char* reply;
};

struct StateCase {
    const char* name;
    int model;
    std::vector<Exchange> exchanges;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StateCase& c, std::ostream* out)
{
    *out << c.name;
}

const StateCase kCases[] = {
    {"102 connect and upload",
     MODEL_ZEFA102,
     {{"E", "OK"}, {"D260101", "OK"}, {"D260301", "OK"}, {"D260000", "OK"}, {"R26", "RD01010301"}}},
    {"102 read of another year is empty", MODEL_ZEFA102, {{"D260101", "OK"}, {"R27", "RD"}}},
    {"102 delete clears one year",
     MODEL_ZEFA102,
     {{"D260101", "OK"}, {"D270505", "OK"}, {"C26", "OK"}, {"R26", "RD"}, {"R27", "RD0505"}}},
    {"102 three-digit year", MODEL_ZEFA102, {{"D1001225", "OK"}, {"R100", "RD1225"}}},
    {"102 duplicate holiday stored once", MODEL_ZEFA102, {{"D260101", "OK"}, {"D260101", "OK"}, {"R26", "RD0101"}}},
    {"102 bad frames",
     MODEL_ZEFA102,
     {{"D261332", "NG"}, {"D2601", "NG"}, {"DXX0101", "NG"}, {"X", "NG"}, {"", "NG"}, {"E1", "NG"}, {"R", "NG"}}},
    {"102 time", MODEL_ZEFA102, {{"T2612072114301", "OK"}, {"T2613072114301", "NG"}, {"T26120721143", "NG"}}},
    {"102 weekdays and loan periods",
     MODEL_ZEFA102,
     {{"W2671", "OK"}, {"W08", "NG"}, {"W", "NG"}, {"L255250", "OK"}, {"L256000", "NG"}, {"L01400", "NG"}}},
    {"101 upload into the clock's year",
     MODEL_ZEFA101,
     {{"#E", "OK"}, {"#D0101", "OK"}, {"#C", "OK"}, {"#D0505", "OK"}}},
    {"101 refuses what it does not offer",
     MODEL_ZEFA101,
     {{"E", "NG"}, {"#W2", "NG"}, {"#L001001", "NG"}, {"#R26", "NG"}, {"#", "NG"}}},
    {"101 time has no seconds", MODEL_ZEFA101, {{"#T26120721143", "OK"}, {"#T2612072114301", "NG"}}},
};

class TerminalStateTable : public ::testing::TestWithParam<StateCase> {};

TEST_P(TerminalStateTable, Replies)
{
    CTerminalState state(GetParam().model, kClock);
    for (const Exchange& e : GetParam().exchanges) EXPECT_EQ(state.Handle(e.frame), e.reply) << e.frame;
}

INSTANTIATE_TEST_SUITE_P(Terminal, TerminalStateTable, ::testing::ValuesIn(kCases), CaseName());

TEST(TerminalState, KeepsWhatItWasSent)
{
    CTerminalState state(MODEL_ZEFA102, kClock);
    EXPECT_FALSE(state.Connected());
    state.Handle("E");
    state.Handle("T2612072114301");
    state.Handle("W2671");
    state.Handle("L014007");
    EXPECT_TRUE(state.Connected());
    EXPECT_EQ(state.Clock().second, 1);
    EXPECT_EQ(state.Clock().weekday, 2);
    EXPECT_EQ(state.Weekdays(), "2671");
    EXPECT_EQ(state.LoanPeriod1(), 14);
    EXPECT_EQ(state.LoanPeriod2(), 7);

    CTerminalState zefa101(MODEL_ZEFA101, kClock);
    zefa101.Handle("#T27010151000");  // the clock moves to 2027: later holidays go there
    zefa101.Handle("#D0101");
    EXPECT_EQ(zefa101.Holidays(2027), std::set<int>{101});
    EXPECT_TRUE(zefa101.Holidays(2026).empty());
}

TEST(TerminalState, ZEFA101ReadReplyReachesTheLongReplyLength)
{
    CTerminalState state(MODEL_ZEFA101, kClock);
    state.Handle("#D0101");
    const std::string reply = state.Handle("#R");
    EXPECT_EQ(reply.size(), static_cast<std::size_t>(LONG_REPLY_MIN_LEN));  // the header and 35 groups
    EXPECT_EQ(reply.substr(0, 7), "#RD0101");
    EXPECT_EQ(reply.find_first_not_of('0', 7), std::string::npos);
}

// What the tool's line framer makes of the ZEFA-101 read reply on the wire.
TEST(TerminalState, ReadReplyLinesJoinIntoOneFrame)
{
    // Around the joining length, and around the 32-character lines the terminal sends.
    for (int over : {0, 1, 4, 32, 33, 357, 1324}) {
        const std::size_t length = static_cast<std::size_t>(LONG_REPLY_MIN_LEN + over);
        std::string text = "#RD";
        while (text.size() < length) text += static_cast<char>('0' + text.size() % 10);
        const std::string wire = SplitReadReplyLines(text);
        EXPECT_GT(std::count(wire.begin(), wire.end(), '\n'), 1) << length;

        CComm comm;
        InlineOwner owner(comm);
        comm.SetOwnerWindow(&owner);
        comm.m_nFraming = FRAMING_LINES;
        comm.m_bLongReply = 1;
        // One read per line, as a paced line arrives.
        for (std::size_t at = 0; at < wire.size();) {
            const std::size_t end = wire.find('\n', at) + 1;
            comm.Frame(std::string_view(wire).substr(at, end - at));
            at = end;
        }
        EXPECT_EQ(owner.frames, std::vector<std::string>{text}) << length;
    }
}

TEST(Transcript, OneJsonObjectPerFrameKeepingEveryByte)
{
    ReceivedFrame answered{.seq = 2, .command = "D", .frame = "D260101", .reply = "OK"};
    EXPECT_EQ(TranscriptLine(MODEL_ZEFA102, answered),
              R"({"seq":2,"model":"ZEFA-102","command":"D","frame":"D260101","reply":"OK"})");
    ReceivedFrame silent{.seq = 1, .command = "E", .frame = std::string("#E\x02\xff\"", 5), .reply = std::nullopt};
    EXPECT_EQ(TranscriptLine(MODEL_ZEFA101, silent),
              R"({"seq":1,"model":"ZEFA-101","command":"E","frame":"#E\u0002ÿ\"","reply":null})");
}

}  // namespace
