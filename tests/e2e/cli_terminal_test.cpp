// dorvane-cli as a real process against the simulated terminal on a real pseudo-terminal.
#include <gtest/gtest.h>
#include <memory>

#include "date/local_clock.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/received_frames.h"
#include "tests/support/run_process.h"
#include "tests/support/test_simulator.h"

namespace {

std::vector<std::string> Lines(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        if (text.compare(pos, prefix.size(), prefix) == 0) lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

class CliTerminal : public ::testing::TestWithParam<int> {
protected:
    void StartSimulator(int model, const SimulatorFaults& faults = {})
    {
        m_sim = std::make_unique<CTerminalSimulator>(model, faults);
        PrepareTestSimulator(*m_sim);
        std::string error;
        ASSERT_TRUE(m_sim->Start(error)) << error;
    }

    ProcessResult Cli(std::vector<std::string> args)
    {
        const int model = m_sim ? m_sim->State().Model() : MODEL_ZEFA102;
        args.insert(args.begin(), {DORVANE_CLI_PATH, "--port", m_sim ? m_sim->SlavePath() : "/dev/null", "--model",
                                   ModelName(model), "--timeout", "3"});
        return RunProcess(args);
    }

    // What the terminal received after the connect frame.
    std::vector<std::string> FramesAfterConnect()
    {
        std::vector<std::string> frames = FrameTexts(*m_sim);
        EXPECT_FALSE(frames.empty());
        if (!frames.empty()) {
            EXPECT_EQ(frames[0], m_sim->State().Model() == MODEL_ZEFA101 ? "#E" : "E");
            frames.erase(frames.begin());
        }
        return frames;
    }

    std::unique_ptr<CTerminalSimulator> m_sim;
};

std::string Prefix(int model)
{
    return model == MODEL_ZEFA101 ? "#" : "";
}

}  // namespace

TEST_P(CliTerminal, ConnectSendsTheConnectFrameOnce)
{
    StartSimulator(GetParam());
    const ProcessResult r = Cli({"connect"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Lines(r.out, "연결 성공").size(), 1u);
    EXPECT_TRUE(FramesAfterConnect().empty());
    EXPECT_EQ(m_sim->Received().at(0).reply, "OK");
}

TEST_P(CliTerminal, SendUploadsEveryListedHolidayInCalendarOrder)
{
    const int model = GetParam();
    StartSimulator(model);
    const ProcessResult r = Cli({"send", "2027", "--mark", "03-03", "--biweekly", "wed:odd"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;

    std::vector<std::string> expected;
    for (const std::string& line : Lines(r.out, "Holiday[")) {
        // Holiday[kind] => 2027-MM-DD
        if (model == MODEL_ZEFA101 && line.find("일요일") != std::string::npos) continue;
        const std::string mm = line.substr(line.size() - 5, 2);
        const std::string dd = line.substr(line.size() - 2, 2);
        expected.push_back(Prefix(model) + "D" + (model == MODEL_ZEFA101 ? "" : "27") + mm + dd);
    }
    if (model == MODEL_ZEFA102) expected.push_back("D270000");
    EXPECT_GT(expected.size(), 40u);
    EXPECT_EQ(FramesAfterConnect(), expected);
    // The total counts every kind, Sundays included, whatever the model uploads.
    char total[64];
    std::snprintf(total, sizeof total, "    총휴일수 : %5zu 일", Lines(r.out, "Holiday[").size());
    EXPECT_EQ(Lines(r.out, total).size(), 1u) << r.out;
}

TEST_P(CliTerminal, ReadListsWhatTheTerminalHolds)
{
    const int model = GetParam();
    StartSimulator(model);
    ASSERT_EQ(
        Cli({"send", "2027", "--unset-sunday", "--unset-holiday", "--mark", "01-05", "--mark", "12-31"}).exitStatus, 0);
    const ProcessResult r = Cli({"read", "2027"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(Lines(r.out, "Read => "), (std::vector<std::string>{"Read => 2027-01-05", "Read => 2027-12-31"}));

    ASSERT_EQ(Cli({"delete", "2027"}).exitStatus, 0);
    const ProcessResult empty = Cli({"read", "2027"});
    ASSERT_EQ(empty.exitStatus, 0) << empty.err;
    EXPECT_TRUE(Lines(empty.out, "Read => ").empty()) << empty.out;
}

TEST_P(CliTerminal, SetTimeCarriesThisComputersClock)
{
    const int model = GetParam();
    StartSimulator(model);
    const LocalTime before = ReadLocalClock();
    const ProcessResult r = Cli({"set-time"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    const std::vector<std::string> frames = FramesAfterConnect();
    ASSERT_EQ(frames.size(), 1u);
    // YY MM DD W hh mi, plus ss on the ZEFA-102.
    EXPECT_EQ(frames[0].size(), Prefix(model).size() + 1 + (model == MODEL_ZEFA101 ? 11u : 13u)) << frames[0];
    char date[40];
    std::snprintf(date, sizeof date, "%02d%02d%02d", before.year - 2000, before.month, before.day);
    EXPECT_EQ(frames[0].substr(Prefix(model).size(), 7), std::string("T") + date);
}

INSTANTIATE_TEST_SUITE_P(BothModels, CliTerminal, ::testing::Values(MODEL_ZEFA101, MODEL_ZEFA102),
                         [](const auto& info) { return info.param == MODEL_ZEFA101 ? "ZEFA101" : "ZEFA102"; });

class CliZefa102 : public CliTerminal {};

TEST_F(CliZefa102, WeekdaysAndLoanPeriodsGoOutAsTheDialogBuildsThem)
{
    StartSimulator(MODEL_ZEFA102);
    ASSERT_EQ(Cli({"weekdays", "176"}).exitStatus, 0);
    ASSERT_EQ(Cli({"loan", "14", "7"}).exitStatus, 0);
    const std::vector<std::string> frames = FrameTexts(*m_sim);
    EXPECT_EQ(frames, (std::vector<std::string>{"E", "W671", "E", "L014007"}));
    EXPECT_EQ(m_sim->State().LoanPeriod1(), 14);
    EXPECT_EQ(m_sim->State().LoanPeriod2(), 7);
}

TEST_F(CliZefa102, InvalidArgumentsSendNothing)
{
    StartSimulator(MODEL_ZEFA102);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"weekdays", "8"}, {"loan", "256", "0"}, {"loan", "0", "251"}, {"send", "--mark", "02-30"}}) {
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitStatus, 2) << args[0];
        EXPECT_NE(r.err.find(" / "), std::string::npos);
    }
    EXPECT_TRUE(m_sim->Received().empty());
}

TEST_F(CliZefa102, AYearBeyondTheLunarTableGoesOutOnlyWhenTheOperatorSaysSo)
{
    StartSimulator(MODEL_ZEFA102);
    const ProcessResult refused = Cli({"send", "2050"});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_NE(refused.err.find("--without-lunar"), std::string::npos) << refused.err;
    EXPECT_TRUE(m_sim->Received().empty());

    const ProcessResult sent = Cli({"send", "2050", "--unset-sunday", "--unset-holiday", "--mark", "01-05", "--without-lunar"});
    ASSERT_EQ(sent.exitStatus, 0) << sent.err;
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"E", "D500105", "D500000"}));
}

TEST_F(CliZefa102, ASilentTerminalTimesOut)
{
    StartSimulator(MODEL_ZEFA102, {.silent = true});
    std::vector<std::string> args = {DORVANE_CLI_PATH, "--port", m_sim->SlavePath(), "--model", "ZEFA-102",
                                     "--timeout",      "0.3",    "connect"};
    const ProcessResult r = RunProcess(args);
    EXPECT_EQ(r.exitStatus, 4);
    EXPECT_NE(r.err.find("단말기 응답이 없습니다."), std::string::npos) << r.err;
}

TEST_F(CliZefa102, AHangUpDuringTheUploadIsReported)
{
    StartSimulator(MODEL_ZEFA102, {.hangUpAfterFrames = 3});
    const ProcessResult r = Cli({"send", "2027"});
    EXPECT_EQ(r.exitStatus, 5) << r.out;
    EXPECT_NE(r.err.find("연결이 끊어졌습니다"), std::string::npos) << r.err;
}

TEST_F(CliZefa102, APortThatCannotBeOpenedIsReported)
{
    const ProcessResult r =
        RunProcess({DORVANE_CLI_PATH, "--port", "COM7=/dev/dorvane-no-such-port", "--model", "ZEFA-102", "connect"});
    EXPECT_EQ(r.exitStatus, 3);
    EXPECT_NE(r.err.find("COM7 포트를 열수가 없습니다."), std::string::npos) << r.err;
}
