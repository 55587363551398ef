// The serial object against the terminal simulator, over real pseudo-terminals.
#include <gtest/gtest.h>

#include "case_name.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <string>

#include "comm/comm.h"
#include "comm/port_map.h"
#include "sim/terminal_simulator.h"
#include "tests/unit/frame_owners.h"

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
        std::string error;
        ASSERT_TRUE(sim->Start(error)) << error;
        const int port = sim->RegisterPort();
        ASSERT_GT(port, 0);
        comm.SetOwnerWindow(&owner);
        comm.m_nFraming = model;
        comm.SetPortParams(static_cast<std::uint8_t>(port), 9600, 8, 0, 0);
        ASSERT_EQ(comm.Open(), 1);
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
    EXPECT_EQ(Ask("\x02" "E\x03"), "OK");
    EXPECT_EQ(Ask("\x02" "D260101\x03"), "OK");
    EXPECT_EQ(Ask("\x02" "D260301\x03"), "OK");
    EXPECT_EQ(Ask("\x02" "D260000\x03"), "OK");
    EXPECT_EQ(Ask("\x02" "R26\x03"), "RD01010301");
    EXPECT_EQ(sim->State().Holidays(2026), (std::set<int>{101, 301}));
    const auto transcript = sim->Transcript();
    ASSERT_EQ(transcript.size(), 5u);
    EXPECT_EQ(transcript[1], R"({"seq":2,"model":"ZEFA-102","command":"D","frame":"D260101","reply":"OK"})");
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
    EXPECT_GE(read->size(), 143u);
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
    {"garbage 102", MODEL_ZEFA102, {false, true, 0, false, 0, 0}, "\x02" "E\x03", "OK"},
    {"garbage 101", MODEL_ZEFA101, {false, true, 0, false, 0, 0}, "#E\r\n", "OK"},
    {"split 102", MODEL_ZEFA102, {false, false, 1, false, 0, 0}, "\x02" "R26\x03", "RD"},
    {"split 101", MODEL_ZEFA101, {false, false, 1, false, 0, 0}, "#E\r\n", "OK"},
    {"paced 9600", MODEL_ZEFA102, {false, true, 0, false, 0, 9600}, "\x02" "E\x03", "OK"},
    {"overlong 102", MODEL_ZEFA102, {false, false, 0, true, 0, 0}, "\x02" "E\x03", "OK" + std::string(2046, '.')},
    {"overlong 101", MODEL_ZEFA101, {false, false, 0, true, 0, 0}, "#E\r\n", "OK" + std::string(2046, '.')},
};

class SimulatorFault : public SimulatorLink, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SimulatorFault, ReplyStillArrivesWhole)
{
    const FaultCase& c = GetParam();
    Connect(c.model, c.faults);
    EXPECT_EQ(Ask(c.frame), c.reply);
}

INSTANTIATE_TEST_SUITE_P(Faults, SimulatorFault, ::testing::ValuesIn(kFaults), CaseName());

TEST_F(SimulatorLink, SilentTerminalRecordsButNeverAnswers)
{
    SimulatorFaults faults;
    faults.silent = true;
    Connect(MODEL_ZEFA101, faults);
    comm.Write("#E\r\n", 4);
    ASSERT_TRUE(sim->WaitForFrames(1, 20s));
    EXPECT_EQ(sim->Transcript()[0], R"({"seq":1,"model":"ZEFA-101","command":"E","frame":"#E","reply":null})");
    EXPECT_FALSE(owner.NextFrame(true, 1s).has_value());
    EXPECT_FALSE(sim->State().Connected());
}

TEST_F(SimulatorLink, HangUpInTheMiddleOfAnUploadEndsTheReader)
{
    SimulatorFaults faults;
    faults.hangUpAfterFrames = 2;
    Connect(MODEL_ZEFA102, faults);
    EXPECT_EQ(Ask("\x02" "D260101\x03"), "OK");
    comm.Write("\x02" "D260301\x03", 9);
    const auto error = owner.NextError();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("포트의 연결이 끊어졌습니다."), std::string::npos) << *error;
    EXPECT_EQ(comm.m_bRunning, 0);
    EXPECT_TRUE(sim->HungUp());
    EXPECT_EQ(sim->State().Holidays(2026), std::set<int>{101});
}

}  // namespace
