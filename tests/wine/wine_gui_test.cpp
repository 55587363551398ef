// dorvane.exe's dialog under Wine on a virtual X server: runs the Windows test program
// (win32_gui_test.exe), case by case, in a private prefix that is a Korean desktop, with the
// simulated terminal each case talks to on COM5, and checks the frames the terminal received.
// Run by the Windows build's ctest under xvfb-run, with DORVANE_WINDOWS_BUILD naming that build;
// the pictures go to its screenshots/ folder.
#include <gtest/gtest.h>
#include <iostream>

#include "tests/support/received_frames.h"
#include "wine_prefix.h"

namespace fs = std::filesystem;

namespace {

class WineGui : public WineTerminal {
protected:
    // Runs the test program's cases matching `filter`, on the prefix's desktop or on a desktop of
    // `desktopSize` ("1024x600") of its own; their failures are its output.
    void RunCases(const std::string& filter, const std::string& desktopSize = "")
    {
        const fs::path screenshots = g_windowsBuild / "screenshots";
        fs::create_directories(screenshots);
        ::setenv("DORVANE_SCREENSHOT_DIR", WindowsPath(screenshots).c_str(), 1);
        const fs::path program = g_windowsBuild / "bin" / "win32_gui_test.exe";
        const std::string cases = "--gtest_filter=" + filter;
        // Wine's explorer opens the desktop and ends with status 0 whatever the program's is.
        const ProcessResult r =
            desktopSize.empty()
                ? RunWindows(program, {cases})
                : RunWindows("explorer", {"/desktop=Small," + desktopSize, WindowsPath(program), cases});
        std::cout << r.out;  // its cases, as ctest shows a failure
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        EXPECT_EQ(r.out.find("[  FAILED  ]"), std::string::npos);
        // A filter that matches nothing passes too: some case must have run.
        EXPECT_NE(r.out.find("[  PASSED  ] "), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("[  PASSED  ] 0 tests"), std::string::npos) << filter << " matched no case";
    }
};

TEST_F(WineGui, CalendarsAndTotalWithoutATerminal)
{
    RunCases("SetupDialog.*");
}

TEST_F(WineGui, TheDialogFitsASmallScreen)
{
    RunCases("SmallScreen.*", "1024x600");
}

TEST_F(WineGui, Zefa102UploadSendsTheMarkedDaysThenTheEndRecord)
{
    StartSimulator(MODEL_ZEFA102);
    RunCases("Terminal.Zefa102UploadSendsTheMarkedDaysAndTheEndRecord");
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"E", "D270303", "D271231", "D270000"}));
}

TEST_F(WineGui, Zefa101ConnectIsHeldUntilTheTerminalSpeaks)
{
    StartSimulator(MODEL_ZEFA101, {}, std::chrono::milliseconds(1500));
    RunCases("Terminal.Zefa101ConnectWaitsForTheTerminalToSpeak");
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"#E"}));
}

TEST_F(WineGui, SilentTerminalsConnectTimesOut)
{
    StartSimulator(MODEL_ZEFA102, {.silent = true});
    RunCases("Terminal.SilentTerminalEndsTheConnectWithABox");
    EXPECT_EQ(FrameTexts(*m_sim), (std::vector<std::string>{"E"}));
}

TEST_F(WineGui, ClosingDuringAnUploadAsksFirst)
{
    StartSimulator(MODEL_ZEFA102, {.baudRate = 600});
    RunCases("Terminal.ClosingDuringAnUploadAsksFirst");
    const std::vector<std::string> frames = FrameTexts(*m_sim);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0], "E");
    EXPECT_EQ(frames[1], "D270103");  // 2027's first Sunday
}

// dorvane.exe itself: it loads in a prefix without MinGW's DLLs, and its command line is dorvane's,
// its help Windows'.
TEST(WineDorvane, VersionHelpAndTheRefusalOfSimulate)
{
    const fs::path exe = g_windowsBuild / "bin" / "dorvane.exe";
    const ProcessResult help = RunWindows(exe, {"--help"});
    EXPECT_EQ(LinesStartingWith(help.out, "  --").size(), 2u) << help.out;  // --version, --port COMn
    for (const char* posix : {"DISPLAY", "/dev/"}) EXPECT_EQ(help.out.find(posix), std::string::npos) << help.out;
    const ProcessResult version = RunWindows(exe, {"--version"});
    EXPECT_EQ(version.exitStatus, 0) << version.err;
    EXPECT_EQ(Lines(version.out).at(0), "dorvane 1.0");
    const ProcessResult simulate = RunWindows(exe, {"--simulate", "ZEFA-102"});
    EXPECT_EQ(simulate.exitStatus, 2);
    EXPECT_EQ(Lines(simulate.err).at(0),
              "dorvane: Windows 에서는 --simulate 를 쓸 수 없습니다 (시뮬레이터는 가상 터미널이 필요합니다) / "
              "--simulate is not available on Windows: the simulator needs a pseudo-terminal");
}

const auto* const g_winePrefix = ::testing::AddGlobalTestEnvironment(new WinePrefix(true));

}  // namespace
