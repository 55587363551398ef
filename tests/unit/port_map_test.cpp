#include "ports/port_map.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(PortMap, DefaultNumbers)
{
    const struct {
        const char* path;
        int port;
    } cases[] = {
        {"/dev/ttyS0", 1},    {"/dev/ttyS31", 32},    {"/dev/ttyS32", 0},    {"/dev/ttyUSB0", 33}, {"/dev/ttyUSB1", 34},
        {"/dev/ttyACM0", 65}, {"/dev/ttyAMA15", 112}, {"/dev/rfcomm0", 113}, {"/dev/ttyS01", 0},   {"/dev/ttyS", 0},
        {"/dev/ttyS1x", 0},   {"/dev/pts/3", 0},      {"/tmp/ttyS0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(DefaultPortNumber(c.path), c.port) << c.path;
}

TEST(PortMap, PortNumberFromName)
{
    const struct {
        const char* name;
        int port;
    } cases[] = {
        {"COM1", 1}, {"com4", 4}, {"COM255", 255}, {"COM256", 0}, {"COM0", 0}, {"COM", 0}, {"LPT1", 0}, {"COM3x", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PortNumberFromName(c.name), c.port) << c.name;
}

TEST(PortMap, SameDeviceKeepsItsNumberAndOthersGetFreeOnes)
{
    CPortMap map;
    EXPECT_EQ(map.Add("/dev/ttyUSB0"), 33);
    EXPECT_EQ(map.Add("/dev/pts/7"), PORT_FIRST_DYNAMIC);
    EXPECT_EQ(map.Add("/dev/pts/8"), PORT_FIRST_DYNAMIC + 1);
    EXPECT_EQ(map.Add("/dev/ttyUSB0", "FTDI FT232R"), 33);
    map.Set(1, "/dev/pts/7");  // --port COM1=/dev/pts/7 moves it
    EXPECT_EQ(map.Path(1), "/dev/pts/7");
    EXPECT_EQ(map.Path(PORT_FIRST_DYNAMIC), "");
    EXPECT_EQ(map.Add("/dev/ttyS0"), PORT_FIRST_DYNAMIC);  // its own number is taken
    EXPECT_EQ(map.Add("/dev/pts/9"), PORT_FIRST_DYNAMIC + 2);
}

TEST(PortMap, FullMapGivesZero)
{
    CPortMap map;
    for (int port = PORT_FIRST_DYNAMIC; port <= PORT_NUMBER_MAX; ++port) {
        ASSERT_EQ(map.Add("/dev/pts/" + std::to_string(port)), port);
    }
    EXPECT_EQ(map.Add("/dev/pts/extra"), 0);
}

TEST(PortMap, CommandLineArguments)
{
    const struct {
        const char* argument;
        int port;
        const char* path;  // what the port opens afterwards; null for a refused argument
    } cases[] = {
        {"COM3=/dev/ttyUSB4", 3, "/dev/ttyUSB4"},
        {"com12=/dev/pts/2", 12, "/dev/pts/2"},
        {"/dev/ttyUSB1", 34, "/dev/ttyUSB1"},
        {"COM3", 3, "/dev/ttyUSB4"},
        {"rfc2217+tls://term-3.library.example:2001", 129, "rfc2217+tls://term-3.library.example:2001"},
        {"COM7=tcp://127.0.0.1:4001", 7, "tcp://127.0.0.1:4001"},
        {"COM8=udp://127.0.0.1:4001", 0, nullptr},
        {"tcp://127.0.0.1", 0, nullptr},
        {"COM0=/dev/x", 0, nullptr},
        {"COM5=", 0, nullptr},
        {"ttyUSB0", 0, nullptr},
        {"", 0, nullptr},
    };
    CPortMap map;
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(ParsePortArgument(c.argument, map, error), c.port) << c.argument;
        if (c.path != nullptr) {
            EXPECT_EQ(map.Path(c.port), c.path) << c.argument;
            EXPECT_EQ(error, "");
        } else {
            EXPECT_NE(error, "") << c.argument;
        }
    }
}

TEST(PortMap, ConsoleLinesInPortOrder)
{
    CPortMap map;
    map.Add("/dev/ttyUSB0", "FTDI FT232R USB UART");
    map.Add("/dev/ttyS0");
    map.Add("/dev/pts/4", "ZEFA-102 simulator");
    map.Add("rfc2217://127.0.0.1:2001");
    EXPECT_EQ(PortConsoleLines(map), (std::vector<std::string>{
                                         "COM1 = /dev/ttyS0",
                                         "COM33 = /dev/ttyUSB0 (FTDI FT232R USB UART)",
                                         "COM129 = /dev/pts/4 (ZEFA-102 simulator)",
                                         "COM130 = rfc2217://127.0.0.1:2001",
                                     }));
}

}  // namespace
