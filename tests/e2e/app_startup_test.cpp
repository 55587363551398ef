// dorvane's start-up: the command line and the display check as a real process, and the port
// the dialog selects through the start-up run in-process.
#include <cstdlib>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTimer>

#include "app/setup_app.h"
#include "app/setup_dlg.h"
#include "res/resource.h"
#include "tests/support/case_name.h"
#include "tests/support/run_process.h"

namespace {

// The environment of a machine without a display; `platform` is an explicit QT_QPA_PLATFORM.
void NoDisplay(const char* platform = nullptr)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    if (platform != nullptr) {
        setenv("QT_QPA_PLATFORM", platform, 1);
    } else {
        unsetenv("QT_QPA_PLATFORM");
    }
}

ProcessResult Dorvane(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVANE_APP_PATH);
    return RunProcess(args);
}

}  // namespace

TEST(AppProcess, HelpAndVersionNeedNoDisplay)
{
    NoDisplay();
    const ProcessResult version = Dorvane({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "dorvane 1.0\n");
    const ProcessResult help = Dorvane({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    for (const char* word :
         {"--port COMn|/dev/PATH|URL", "--ca FILE", "--simulate ZEFA-101|ZEFA-102", "1  no display"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word << " in\n" << help.out;
    }
}

TEST(AppProcess, WithoutADisplayItSaysSoInOneLineAndExits1)
{
    NoDisplay();
    const ProcessResult r = Dorvane({"--simulate", "ZEFA-102"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "dorvane: 화면이 없습니다 (DISPLAY 와 WAYLAND_DISPLAY 가 설정되지 않음); 창 없이 같은 명령은 "
              "dorvane-cli 로 실행합니다 / no display (DISPLAY and WAYLAND_DISPLAY are unset); dorvane-cli runs the "
              "same commands without one\n");
}

TEST(AppProcess, ADisplayThatDoesNotAnswerIsAsNoneAndExits1)
{
    NoDisplay();
    setenv("DISPLAY", ":65534", 1);  // no X server listens there
    const ProcessResult r = Dorvane({"--simulate", "ZEFA-102"});
    unsetenv("DISPLAY");
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "dorvane: 화면에 연결할 수 없습니다 (DISPLAY=:65534); 창 없이 같은 명령은 dorvane-cli 로 실행합니다 / "
              "cannot open the display (DISPLAY=:65534); dorvane-cli runs the same commands without one\n");
}

TEST(AppProcess, AnExplicitPlatformIsLeftToQt)
{
    NoDisplay("no-such-platform");
    const ProcessResult r = Dorvane({});
    EXPECT_EQ(r.exitStatus, -1);  // Qt's own abort, not our refusal
    EXPECT_NE(r.err.find("\"no-such-platform\""), std::string::npos) << r.err;
}

TEST(AppProcess, InvalidArgumentsExitWith2AndOneBilingualLine)
{
    NoDisplay();  // refused before the display is looked for: one accepted would exit with 1
    const std::vector<std::vector<std::string>> bad = {
        {"--simulate", "ZEFA-103"},
        {"--port", "COM0"},
        {"--port", "ttyUSB0"},
        {"--port"},
        {"--port", "COM5", "--port", "COM6"},
        {"--port", "COM200=/dev/null", "--simulate", "ZEFA-102"},
        {"--bogus"},
        {"extra"},
        {"--port", "COM255"},  // a number without a device: nothing to select
        {"--port", "udp://127.0.0.1:4001"},
        {"--ca", "/nonexistent/authority.pem"},
    };
    for (const auto& args : bad) {
        const ProcessResult r = Dorvane(args);
        EXPECT_EQ(r.exitStatus, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("dorvane: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(" / "), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

struct PresetCase {
    std::string name;
    std::vector<std::string> args;
    QString port;  // the port box's selection
    int modelRadio;
};

void PrintTo(const PresetCase& c, std::ostream* out)
{
    *out << c.name;
}

class AppPreset : public ::testing::TestWithParam<PresetCase> {};

TEST_P(AppPreset, TheDialogStartsOnThePortAndModelAsked)
{
    const PresetCase& c = GetParam();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "dorvane";
    char* argv[] = {name, nullptr};
    QApplication qt(argc, argv);

    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "dorvane");
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    CSetupApp app;
    ASSERT_FALSE(app.ParseCommandLine(static_cast<int>(pointers.size()), pointers.data()).has_value());

    QString selected;
    bool modelChecked = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = dynamic_cast<CSetupDlg*>(QApplication::activeModalWidget());
        if (dlg == nullptr) return;
        poll.stop();
        selected = dlg->GetDlgItemAs<QComboBox>(IDC_PORT)->currentText();
        modelChecked = dlg->GetDlgItemAs<QRadioButton>(c.modelRadio)->isChecked();
        dlg->reject();
    });
    poll.start();
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(selected, c.port);
    EXPECT_TRUE(modelChecked);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AppPreset,
    ::testing::Values(PresetCase{"port keeps the start model", {"--port", "COM200=/dev/null"}, "COM200", IDC_MODEL_101},
                      PresetCase{"network terminal", {"--port", "rfc2217://127.0.0.1:2001"}, "COM129", IDC_MODEL_101},
                      PresetCase{"simulated ZEFA-101", {"--simulate", "ZEFA-101"}, "COM129", IDC_MODEL_101},
                      PresetCase{"simulated ZEFA-102", {"--simulate", "ZEFA-102"}, "COM129", IDC_MODEL_102}),
    CaseName());
