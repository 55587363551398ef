// The serial object on real pseudo-terminals: the same termios path as a USB adapter.
#include <termios.h>

#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

#include "comm/comm.h"
#include "ports/port_map.h"
#include "comm/terminal_link.h"
#include "tests/support/comm_owners.h"
#include "tests/support/pty_peer.h"

namespace {

using namespace std::chrono_literals;

// Runs `action` on another thread; false if it has not returned after a generous while.
template <typename Action>
bool ReturnsInTime(Action action)
{
    auto done = std::async(std::launch::async, action);
    return done.wait_for(20s) == std::future_status::ready;
}

class CommOnPty : public ::testing::Test {
protected:
    void TearDown() override { comm.Shutdown(); }

    void OpenPort(PtyPeer& on, int framing)
    {
        port = g_portMap.Add(on.SlavePath());
        ASSERT_EQ(OpenTerminalLink(comm, owner, port, framing), 1);
        ASSERT_EQ(comm.m_bRunning, 1);
    }

    PtyPeer peer;
    CComm comm;
    QueueOwner owner{comm};
    int port = 0;
};

TEST_F(CommOnPty, OpensRaw9600EightNoneOneAndExchangesFrames)
{
    OpenPort(peer, FRAMING_STX_ETX);
    termios tio{};
    ASSERT_EQ(::tcgetattr(peer.SlaveFd(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);

    ASSERT_EQ(comm.Write("\x02"
                         "E\x03",
                         3),
              1);
    EXPECT_EQ(peer.Receive(3),
              "\x02"
              "E\x03");
    peer.Send("\x02OK\x03");
    EXPECT_EQ(owner.NextFrame(), "OK");
}

TEST_F(CommOnPty, ReplySplitOverWritesIsOneFrame)
{
    OpenPort(peer, FRAMING_LINES);
    for (const char* piece : {"O", "K", "\r", "\n"}) {
        peer.Send(piece);
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(owner.NextFrame(), "OK");
}

TEST_F(CommOnPty, LongReplyLinesArriveAsOneText)
{
    OpenPort(peer, FRAMING_LINES);
    comm.m_bLongReply = 1;
    const std::string groups(140, '0');
    peer.Send("#RD0101\r\n");
    std::this_thread::sleep_for(20ms);
    peer.Send(groups + "\r\n");
    EXPECT_EQ(owner.NextFrame(), "#RD0101" + groups);
}

TEST_F(CommOnPty, BytesArrivingDuringTheHandOffAreFramedAfterRearm)
{
    OpenPort(peer, FRAMING_STX_ETX);
    peer.Send(
        "\x02"
        "A\x03");
    EXPECT_EQ(owner.NextFrame(false), "A");
    peer.Send(
        "\x02"
        "B\x03");
    ASSERT_EQ(comm.Write("\x02"
                         "D\x03",
                         3),
              1);  // the UI writes while the reader waits
    EXPECT_EQ(peer.Receive(3),
              "\x02"
              "D\x03");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(owner.PendingFrames(), 0u);
    EXPECT_STREQ(comm.m_frame, "A");
    comm.RearmFramer();
    EXPECT_EQ(owner.NextFrame(), "B");
}

TEST_F(CommOnPty, ShutdownWakesAReaderWaitingInTheHandOff)
{
    OpenPort(peer, FRAMING_STX_ETX);
    peer.Send(
        "\x02"
        "A\x03");
    ASSERT_EQ(owner.NextFrame(false), "A");
    EXPECT_TRUE(ReturnsInTime([this] { comm.Shutdown(); }));
    EXPECT_EQ(comm.m_bRunning, 0);
    EXPECT_TRUE(ReturnsInTime([this] { comm.Shutdown(); }));
}

TEST_F(CommOnPty, ShutdownUnderAFlood)
{
    OpenPort(peer, FRAMING_STX_ETX);
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        while (flooding) peer.TrySend("\x02X\x03\x02Y\x03 noise ");
    });
    for (int i = 0; i < 50; ++i) {
        const auto frame = owner.NextFrame();
        ASSERT_TRUE(frame == "X" || frame == "Y");
    }
    EXPECT_TRUE(ReturnsInTime([this] { comm.Shutdown(); }));
    flooding = false;
    flood.join();
}

TEST_F(CommOnPty, HangUpEndsTheReaderTellsTheOwnerAndAReopenWorks)
{
    OpenPort(peer, FRAMING_STX_ETX);
    peer.HangUp();
    const auto error = owner.NextError();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->rfind("COM" + std::to_string(port) + " 포트의 연결이 끊어졌습니다.", 0), 0u) << *error;
    EXPECT_EQ(comm.m_bRunning, 0);

    // The dialog reopens without Shutdown when m_bRunning is 0.
    PtyPeer other;
    OpenPort(other, FRAMING_STX_ETX);
    other.Send("\x02OK\x03");
    EXPECT_EQ(owner.NextFrame(), "OK");
}

TEST_F(CommOnPty, SecondOpenOfAnOpenPortIsRefused)
{
    OpenPort(peer, FRAMING_STX_ETX);
    CComm second;
    QueueOwner secondOwner(second);
    EXPECT_EQ(OpenTerminalLink(second, secondOwner, port, FRAMING_STX_ETX), 0);
    ASSERT_EQ(secondOwner.Shown().size(), 1u);
    EXPECT_EQ(secondOwner.Shown()[0].rfind("COM" + std::to_string(port) + " 포트를 열수가 없습니다. / ", 0), 0u);

    comm.Shutdown();  // the port is free again
    EXPECT_EQ(second.Open(), 1);
    second.Shutdown();
}

TEST_F(CommOnPty, OpenFailureNamesTheDeviceAndWhatTheSystemSaid)
{
    g_portMap.Set(77, "/nonexistent/ttyUSB9");
    EXPECT_EQ(OpenTerminalLink(comm, owner, 77, FRAMING_STX_ETX), 0);
    EXPECT_EQ(comm.m_bRunning, 0);
    EXPECT_EQ(owner.Shown(), std::vector<std::string>{
                                 "COM77 포트를 열수가 없습니다. / /nonexistent/ttyUSB9: No such file or directory"});
}

TEST_F(CommOnPty, ReopenAfterShutdownCreatesEventsAgain)
{
    OpenPort(peer, FRAMING_STX_ETX);
    comm.Shutdown();
    ASSERT_EQ(comm.Open(), 1);
    peer.Send("\x02OK\x03");
    EXPECT_EQ(owner.NextFrame(), "OK");
}

}  // namespace
