// The serial object against the terminal simulator, over real pseudo-terminals.
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "comm/comm.h"
#include "ports/port_map.h"
#include "comm/terminal_link.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/case_name.h"
#include "tests/support/comm_owners.h"
#include "tests/support/received_frames.h"

namespace {

using namespace std::chrono_literals;

class SimulatorLink : public ::testing::Test {
protected:
    void TearDown() override
    {
        comm.Shutdown();
        if (sim) sim->Stop();
    }

    // Without a greeting unless asked: a greeting read in the same chunk as a reply would
    // take the reply's place (the framer drops the rest of a chunk), which is the protocol's
    // business, not these tests'.
    void Connect(int model, const SimulatorFaults& faults = {}, std::chrono::milliseconds greeting = 0ms)
    {
        sim = std::make_unique<CTerminalSimulator>(model, faults);
        sim->SetGreetingInterval(greeting);
        sim->KeepReceivedFrames();
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        const int port = sim->RegisterPort();
        ASSERT_GT(port, 0);
        ASSERT_EQ(OpenTerminalLink(comm, owner, port, ModelFraming(model)), 1);
    }

    std::optional<std::string> Ask(const std::string& frame)
    {
        comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
        return owner.NextFrame();
    }

    std::unique_ptr<CTerminalSimulator> sim;
    CComm comm;
    QueueOwner owner{comm};
};

TEST_F(SimulatorLink, Zefa102UploadAndReadBack)
{
    Connect(MODEL_ZEFA102);
    EXPECT_EQ(Ask("\x02"
                  "E\x03"),
              "OK");
    EXPECT_EQ(Ask("\x02"
                  "D260101\x03"),
              "OK");
    EXPECT_EQ(Ask("\x02"
                  "D260301\x03"),
              "OK");
    EXPECT_EQ(Ask("\x02"
                  "D260000\x03"),
              "OK");
    EXPECT_EQ(Ask("\x02"
                  "R26\x03"),
              "RD01010301");
    EXPECT_EQ(sim->State().Holidays(2026), (std::set<int>{101, 301}));
    EXPECT_EQ(FrameTexts(*sim), (std::vector<std::string>{"E", "D260101", "D260301", "D260000", "R26"}));
    EXPECT_EQ(sim->Received()[1].reply, "OK");
}

TEST_F(SimulatorLink, Zefa101SpeaksFirstAndAnswersALongRead)
{
    Connect(MODEL_ZEFA101, {}, 500ms);
    // A port opened in the middle of a greeting sees its tail first; the next one is whole.
    std::optional<std::string> greeting;
    do {
        greeting = owner.NextFrame();
        ASSERT_TRUE(greeting.has_value());
        ASSERT_TRUE(std::string(SIMULATOR_GREETING).ends_with(*greeting)) << *greeting;
    } while (greeting != SIMULATOR_GREETING);
    EXPECT_EQ(Ask("#E\r\n"), "OK");  // answered at once, long before the next greeting
    ASSERT_TRUE(sim->State().Connected());
    EXPECT_EQ(Ask("#D0505\r\n"), "OK");

    comm.m_bLongReply = 1;
    const auto read = Ask("#R\r\n");
    ASSERT_TRUE(read.has_value());
    EXPECT_GE(read->size(), static_cast<std::size_t>(LONG_REPLY_MIN_LEN));
    EXPECT_EQ(read->substr(0, 7), "#RD0505");
}

struct FaultCase {
    const char* name;
    int model;
    SimulatorFaults faults;
    const char* frame;
    std::string reply;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FaultCase& c, std::ostream* out)
{
    *out << c.name;
}

const FaultCase kFaults[] = {
    {"garbage 102",
     MODEL_ZEFA102,
     {.garbage = true},
     "\x02"
     "E\x03",
     "OK"},
    {"garbage 101", MODEL_ZEFA101, {.garbage = true}, "#E\r\n", "OK"},
    {"split 102",
     MODEL_ZEFA102,
     {.splitBytes = 1},
     "\x02"
     "R26\x03",
     "RD"},
    {"split 101", MODEL_ZEFA101, {.splitBytes = 1}, "#E\r\n", "OK"},
    {"paced 9600",
     MODEL_ZEFA102,
     {.garbage = true, .baudRate = 9600},
     "\x02"
     "E\x03",
     "OK"},
    {"overlong 102",
     MODEL_ZEFA102,
     {.overlongReply = true},
     "\x02"
     "E\x03",
     "OK" + std::string(COMM_FRAME_MAX - 2, '.')},
    {"overlong 101", MODEL_ZEFA101, {.overlongReply = true}, "#E\r\n", "OK" + std::string(COMM_FRAME_MAX - 2, '.')},
};

class SimulatorFault : public SimulatorLink, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SimulatorFault, ReplyStillArrivesWhole)
{
    const FaultCase& c = GetParam();
    Connect(c.model, c.faults);
    EXPECT_EQ(Ask(c.frame), c.reply);
}

INSTANTIATE_TEST_SUITE_P(Faults, SimulatorFault, ::testing::ValuesIn(kFaults), CaseName());

// A line brings the computer's bytes at its speed too: the frame is not taken before its last
// byte could have come, though the pseudo-terminal hands all of them over at once.
TEST_F(SimulatorLink, AtABaudRateAFrameIsTakenNoSoonerThanTheLineCouldBringIt)
{
    Connect(MODEL_ZEFA102, {.silent = true, .baudRate = 1200});
    const std::string frame = "\x02" "D" + std::string(94, '0') + "\x03";  // 97 bytes: 808 ms at 1200 baud
    const auto sent = std::chrono::steady_clock::now();
    comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
    ASSERT_TRUE(sim->WaitForFrames(1, 20s));
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 800ms);
}

TEST_F(SimulatorLink, SilentTerminalRecordsButNeverAnswers)
{
    Connect(MODEL_ZEFA101, {.silent = true});
    comm.Write("#E\r\n", 4);
    ASSERT_TRUE(sim->WaitForFrames(1, 20s));
    EXPECT_EQ(FrameTexts(*sim), std::vector<std::string>{"#E"});
    EXPECT_FALSE(sim->Received()[0].reply.has_value());
    EXPECT_FALSE(owner.NextFrame(true, 1s).has_value());
    EXPECT_FALSE(sim->State().Connected());
}

TEST_F(SimulatorLink, HangUpInTheMiddleOfAnUploadEndsTheReader)
{
    Connect(MODEL_ZEFA102, {.hangUpAfterFrames = 2});
    EXPECT_EQ(Ask("\x02"
                  "D260101\x03"),
              "OK");
    comm.Write(
        "\x02"
        "D260301\x03",
        9);
    const auto error = owner.NextError();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("포트의 연결이 끊어졌습니다."), std::string::npos) << *error;
    EXPECT_EQ(comm.m_bRunning, 0);
    EXPECT_TRUE(sim->HungUp());
    EXPECT_EQ(sim->State().Holidays(2026), std::set<int>{101});
}

}  // namespace
