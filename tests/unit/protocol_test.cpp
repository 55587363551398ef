#include "protocol/protocol.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "date/holidays.h"
#include "protocol/holiday_upload.h"
#include "protocol/terminal_model.h"
#include "tests/support/fake_host.h"

namespace {

using Events = std::vector<std::string>;

constexpr int Z1 = MODEL_ZEFA101;
constexpr int Z2 = MODEL_ZEFA102;
constexpr int kYear = 2009;
const std::string kNotConnected = std::string("message ") + TEXT_NOT_CONNECTED;

class Protocol : public ::testing::Test {
protected:
    int Reply(const char* text, int model) { return OnCommFrame(host, model, kYear, text); }

    void Connect()
    {
        OnSystemConnect(host, Z2);
        Reply("OK", Z2);
        host.Take();
    }

    // Only 2 March and 3 March 2009 (Monday, Tuesday) are holidays: a three-frame ZEFA-102 list.
    void TwoMarkedDays()
    {
        g_holidaySettings.unsetSunday = 1;
        g_holidaySettings.unsetHoliday = 1;
        g_holidaySettings.marks[3][2] = 1;
        g_holidaySettings.marks[3][3] = 1;
    }

    FakeHost host;
};

const char* kListing0302 = "console Holiday[설정공휴일] => 2009-03-02\n";
const char* kListing0303 = "console Holiday[설정공휴일] => 2009-03-03\n";

}  // namespace

TEST_F(Protocol, ConnectZEFA102SendsAtOnceAndOKConnects)
{
    OnSystemConnect(host, Z2);
    EXPECT_EQ(host.Take(), Events({"frame <STX>E<ETX>"}));
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);

    EXPECT_EQ(Reply("OK", Z2), REPLY_CONNECTED);
    EXPECT_EQ(host.Take(), Events({"status 연결 성공", "console [RX]=>(2)OK\n", "rearm"}));
    EXPECT_EQ(g_bConnected, 1);

    EXPECT_EQ(Reply("OK", Z2), 0) << "a second OK changes nothing but the log";
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "rearm"}));
}

TEST_F(Protocol, ConnectZEFA101HoldsTheFrameUntilTheTerminalSpeaks)
{
    OnSystemConnect(host, Z1);
    EXPECT_TRUE(host.Take().empty());
    EXPECT_EQ(g_nPendingCmd, PENDING_CONNECT);
    EXPECT_STREQ(g_szHeldFrame, "#E\r\n");

    EXPECT_EQ(Reply("#READY", Z1), REPLY_HELD_SENT);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(6)#READY\n", "frame #E<CR><LF>", "rearm"}));
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);
    EXPECT_EQ(g_bConnected, 0);

    EXPECT_EQ(Reply("OK", Z1), REPLY_CONNECTED);
    EXPECT_EQ(host.Take(), Events({"status 연결 성공", "console [RX]=>(2)OK\n", "rearm"}));
}

TEST_F(Protocol, OnlyExactlyOKConnects)
{
    for (const char* reply : {"ok", "OK ", "#OK", " OK", "OKOK", "O", ""}) {
        Reply(reply, Z2);
        EXPECT_EQ(g_bConnected, 0) << '"' << reply << '"';
    }
}

TEST_F(Protocol, CommandsNeedingAConnectionRefuseWithAMessage)
{
    TwoMarkedDays();
    g_holidaySettings.marks[5][5] = 1;

    OnSetTime(host, Z2, {2009, 1, 26, 13, 5, 9});
    OnDataRead(host, Z2, kYear);
    OnHolidayWeekdays(host, "2671");
    EXPECT_EQ(host.Take(), Events({kNotConnected, kNotConnected, kNotConnected}));
    EXPECT_EQ(host.longReply, 0);

    OnDataDelete(host, Z2, kYear);
    EXPECT_EQ(host.Take(), Events({kNotConnected, "repaint"}));
    EXPECT_EQ(g_holidaySettings.marks[5][5], 1) << "marks stay when nothing was deleted";

    EXPECT_EQ(OnDataSend(host, Z2, kYear), 3);
    EXPECT_EQ(host.Take(), Events({kListing0302, kListing0303, "console Holiday[설정공휴일] => 2009-05-05\n",
                                   kNotConnected, "total     총휴일수 :     3 일"}));
    EXPECT_EQ(g_nSendCount, 4) << "the list is built all the same";
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);
}

TEST_F(Protocol, CommandsWithoutATestGoOutUnconnected)
{
    OnLoanPeriod(host, 14, 7);
    OnHolidayWeekdays(host, "");
    EXPECT_EQ(host.Take(), Events({"frame <STX>L014007<ETX>"})) << "no weekday ticked sends nothing, says nothing";
}

TEST_F(Protocol, ConnectedCommands)
{
    Connect();
    g_holidaySettings.marks[5][5] = 1;
    OnSetTime(host, Z2, {2009, 1, 26, 13, 5, 9});
    OnSetTime(host, Z1, {2009, 1, 26, 13, 5, 9});
    OnHolidayWeekdays(host, "2671");
    OnDataDelete(host, Z2, 2012);
    EXPECT_EQ(host.Take(), Events({"frame <STX>T0901262130509<ETX>", "frame #T09012621305<CR><LF>",
                                   "frame <STX>W2671<ETX>", "frame <STX>C12<ETX>", "repaint"}));
    EXPECT_EQ(g_holidaySettings.marks[5][5], 0);
}

TEST_F(Protocol, UploadZEFA102SendsOneFramePerReplyAndLogsTheFollowUps)
{
    Connect();
    TwoMarkedDays();
    EXPECT_EQ(OnDataSend(host, Z2, kYear), 2);
    EXPECT_EQ(host.Take(),
              Events({kListing0302, kListing0303, "frame <STX>D090302<ETX>", "total     총휴일수 :     2 일"}));
    EXPECT_EQ(g_nPendingCmd, PENDING_UPLOAD);

    EXPECT_EQ(Reply("OK", Z2), REPLY_UPLOAD_NEXT);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "frame <STX>D090303<ETX>",
                                   "console [TX]=><STX>D090303<ETX>\n", "rearm"}));
    EXPECT_EQ(Reply("NG", Z2), REPLY_UPLOAD_NEXT) << "any reply acknowledges";
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)NG\n", "frame <STX>D090000<ETX>",
                                   "console [TX]=><STX>D090000<ETX>\n", "rearm"}));
    EXPECT_EQ(Reply("OK", Z2), REPLY_UPLOAD_DONE);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "rearm"}));
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);
    EXPECT_EQ(Reply("OK", Z2), 0);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "rearm"}));
}

TEST_F(Protocol, UploadZEFA101LogsNoFramesAndHasNoEndRecord)
{
    Connect();
    TwoMarkedDays();
    OnDataSend(host, Z1, kYear);
    host.Take();
    EXPECT_EQ(Reply("x", Z1), REPLY_UPLOAD_NEXT);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(1)x\n", "frame #D0303<CR><LF>", "rearm"}));
    EXPECT_EQ(Reply("x", Z1), REPLY_UPLOAD_DONE);
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);
}

TEST_F(Protocol, EmptyListSendsNothingAndSaysNothing)
{
    g_holidaySettings.unsetHoliday = 1;
    EXPECT_EQ(OnDataSend(host, Z1, kYear), 52);
    const Events events = host.Take();
    ASSERT_EQ(events.size(), 53u);
    EXPECT_EQ(events.back(), "total     총휴일수 :    52 일");
    for (const std::string& e : events) EXPECT_EQ(e.rfind("frame", 0), std::string::npos) << e;
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);
}

TEST_F(Protocol, RestartDuringAnUploadBeginsAgainAtRecordZero)
{
    Connect();
    TwoMarkedDays();
    OnDataSend(host, Z2, kYear);
    Reply("OK", Z2);
    EXPECT_EQ(g_nSendIndex, 2);
    host.Take();

    OnDataSend(host, Z2, kYear);
    EXPECT_EQ(host.Take(),
              Events({kListing0302, kListing0303, "frame <STX>D090302<ETX>", "total     총휴일수 :     2 일"}));
    EXPECT_EQ(g_nSendIndex, 1);
}

TEST_F(Protocol, AnEmptyRebuildEndsTheRunningUploadAtTheNextReply)
{
    Connect();
    TwoMarkedDays();
    OnDataSend(host, Z2, kYear);
    ClearHolidayMarks();
    OnDataSend(host, Z2, kYear);
    host.Take();
    EXPECT_EQ(Reply("OK", Z2), REPLY_UPLOAD_DONE);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "rearm"}));
}

TEST_F(Protocol, ModelSwitchToZEFA102DropsTheExchange)
{
    OnSystemConnect(host, Z1);
    OnModelSelected(host, Z1);
    EXPECT_EQ(g_nPendingCmd, PENDING_CONNECT) << "choosing ZEFA-101 leaves it";
    OnModelSelected(host, Z2);
    EXPECT_EQ(host.Take(), Events({"long 0", "discard"})) << "a reply cut short is dropped with it";
    EXPECT_EQ(Reply("OK", Z2), REPLY_CONNECTED);
    EXPECT_EQ(host.Take(), Events({"status 연결 성공", "console [RX]=>(2)OK\n", "rearm"})) << "held frame never sent";

    TwoMarkedDays();
    OnDataSend(host, Z2, kYear);
    OnModelSelected(host, Z2);
    host.Take();
    EXPECT_EQ(Reply("OK", Z2), 0);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "rearm"}));
}

TEST_F(Protocol, ConnectZEFA101DuringAnUploadReplacesIt)
{
    Connect();
    TwoMarkedDays();
    OnDataSend(host, Z1, kYear);
    OnSystemConnect(host, Z1);
    host.Take();
    EXPECT_EQ(Reply("OK", Z1), REPLY_HELD_SENT);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(2)OK\n", "frame #E<CR><LF>", "rearm"}));
    EXPECT_EQ(Reply("OK", Z1), 0);
}

TEST_F(Protocol, DataReadTakesTheNextReplyEvenIfItIsOK)
{
    Connect();
    g_holidaySettings.marks[7][7] = 1;
    OnDataRead(host, Z2, 2027);
    EXPECT_EQ(host.Take(), Events({"long 1", "frame <STX>R27<ETX>"}));

    EXPECT_EQ(Reply("OK", Z2), REPLY_READ_DONE);
    EXPECT_EQ(host.Take(),
              Events({"console [RX]=>(2)OK\n", "total     총휴일수 :    62 일", "long 0", "repaint", "rearm"}));
    EXPECT_EQ(g_holidaySettings.marks[7][7], 0) << "cleared, nothing marked";
}

TEST_F(Protocol, DataReadMarksTheDaysAndRecountsWithoutListing)
{
    Connect();
    OnDataRead(host, Z1, kYear);
    host.Take();
    // 2 January is a Friday, 1 March a Sunday already counted.
    EXPECT_EQ(Reply("#R 01020301", Z1), REPLY_READ_DONE);
    EXPECT_EQ(host.Take(), Events({"console [RX]=>(11)#R 01020301\n", "total     총휴일수 :    63 일", "long 0",
                                   "repaint", "rearm"}));
    EXPECT_EQ(g_holidaySettings.marks[1][2], 1);
    EXPECT_EQ(g_holidaySettings.marks[3][1], 1);
}

TEST_F(Protocol, ReadReplyAlsoAdvancesAPendingUpload)
{
    Connect();
    TwoMarkedDays();
    OnDataSend(host, Z2, kYear);
    OnDataRead(host, Z2, kYear);
    host.Take();
    EXPECT_EQ(Reply("##0101", Z2), REPLY_READ_DONE | REPLY_UPLOAD_NEXT);
    EXPECT_EQ(g_nSendIndex, 2);
}

TEST_F(Protocol, LongestReplyIsCopiedAndLoggedWhole)
{
    const std::string longest(MAX_REPLY_LENGTH, 'A');
    Reply(longest.c_str(), Z2);
    const Events events = host.Take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "console [RX]=>(2048)" + longest + "\n");

    const std::string tooLong(MAX_REPLY_LENGTH + 100, 'B');
    Reply(tooLong.c_str(), Z2);
    EXPECT_EQ(host.Take()[0], "console [RX]=>(2048)" + std::string(MAX_REPLY_LENGTH, 'B') + "\n");
}
