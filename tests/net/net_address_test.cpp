#include "ports/net_address.h"

#include <gtest/gtest.h>

namespace {

TEST(NetAddress, TheFourSchemesAndWhatTheyHold)
{
    const struct {
        const char* url;
        bool telnet, tls;
        const char* host;
        int port;
    } cases[] = {
        {"tcp://127.0.0.1:4001", false, false, "127.0.0.1", 4001},
        {"RFC2217://term-3.library.example:2001", true, false, "term-3.library.example", 2001},
        {"tcp+tls://[::1]:65535", false, true, "::1", 65535},
        {"rfc2217+tls://localhost:1", true, true, "localhost", 1},
    };
    for (const auto& c : cases) {
        NetAddress address;
        std::string error;
        ASSERT_TRUE(ParseNetAddress(c.url, address, error)) << c.url << ": " << error;
        EXPECT_EQ(address.telnet, c.telnet) << c.url;
        EXPECT_EQ(address.tls, c.tls) << c.url;
        EXPECT_EQ(address.host, c.host) << c.url;
        EXPECT_EQ(address.port, c.port) << c.url;
    }
}

TEST(NetAddress, RefusedWithTheAddressNamed)
{
    // The comma and the parenthesis would reach gensio's own address syntax.
    for (const char* url :
         {"udp://host:1", "tcp://host", "tcp://host:0", "tcp://host:65536", "tcp://:4001", "tcp://host:40x1",
          "tcp://a,b:1", "tcp://a(b):1", "tcp://[zz]:1", "tcp://-host:1", "tcp://::1:4001", "tcp:/host:1"}) {
        NetAddress address;
        std::string error;
        EXPECT_FALSE(ParseNetAddress(url, address, error)) << url;
        EXPECT_NE(error.find(url), std::string::npos) << error;
    }
}

}  // namespace
