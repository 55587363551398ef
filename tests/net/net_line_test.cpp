// The serial object over RFC 2217 in-process, where the device behind ser2net can be looked at:
// the line settings reach it, and Close still ends a reader that waits on a quiet line.
#include <termios.h>

#include <chrono>
#include <gtest/gtest.h>

#include "comm/comm.h"
#include "ports/port_map.h"
#include "comm/terminal_link.h"
#include "tests/support/comm_owners.h"
#include "tests/support/pty_peer.h"
#include "tests/support/ser2net_server.h"

namespace {

TEST(NetLine, Rfc2217SetsTheDeviceTo9600EightNoneOneAndCloseWakesTheReader)
{
    PtyPeer device;
    CSer2net ser2net(device.SlavePath());
    // ser2net opens the device at other settings: only RFC 2217 can bring it to 9600 8N1.
    const int port = ser2net.AddPort({.rfc2217 = true, .lineSettings = "19200e72"});
    std::string error;
    ASSERT_TRUE(ser2net.Start(error)) << error;

    g_portMap.Set(7, "rfc2217://127.0.0.1:" + std::to_string(port));
    CComm comm;
    QueueOwner owner(comm);
    ASSERT_TRUE(OpenTerminalLink(comm, owner, 7, FRAMING_STX_ETX)) << testing::PrintToString(owner.Shown());

    termios line{};
    ASSERT_EQ(::tcgetattr(device.SlaveFd(), &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), B9600);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);

    const auto start = std::chrono::steady_clock::now();
    comm.Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
