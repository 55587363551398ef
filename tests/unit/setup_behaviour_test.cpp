// The dialog's behaviour without any toolkit: what it tells a view, a fake one here, as the year
// changes, while no port is open, and on Enter.
#include "dialog/setup_behaviour.h"

#include <gtest/gtest.h>
#include <map>

#include "protocol/protocol.h"
#include "res/resource.h"
#include "tests/support/case_name.h"

namespace {

const std::string kLunarNote2050 =
    "2050년은 음력 표(1841-2049년) 밖이라 설날, 부처님 오신 날, 추석과 그 대체공휴일이 빠져 있습니다. "
    "달력에서 그 날을 누르거나, --mark MM-DD 또는 휴일 파일로 더하십시오.";

// A view that keeps what it is told; the small dialogs, when run, are cancelled.
class FakeView : public DialogView {
public:
    void SetControlText(int id, const std::string& text) override { texts[id] = text; }
    std::string ControlText(int id) const override { return texts.count(id) ? texts.at(id) : std::string(); }
    bool ControlChecked(int id) const override { return checked.count(id) && checked.at(id); }
    void SetControlChecked(int id, bool on) override { checked[id] = on; }
    void EnableControl(int, bool) override {}
    void ShowControl(int, bool) override {}
    void SetControlTip(int, const std::string&) override {}
    void AddComboString(int, const std::string&) override {}
    bool SelectComboString(int, const std::string&) override { return false; }
    int ComboSelection(int) const override { return 0; }
    void SetComboSelection(int, int) override {}
    void ShowProgressLine(const ProgressLine& line) override { progress = line; }
    void SetYearCaption(const std::string& text) override { yearCaption = text; }
    CCalendarModel& Calendar(int month) override { return calendars[month - 1]; }
    void RepaintAll() override {}
    void TellOperator(const std::string& text) override { told.push_back(text); }
    bool AskOperator(const std::string& text) override
    {
        told.push_back(text);
        return false;
    }
    void AppendConsoleLine(const std::string& line) override { console.push_back(line); }
    void OpenConsole() override {}
    bool RunWeekdayDialog(std::string&) override { return Ran("weekday dialog"); }
    bool RunLoanPeriodDialog(int&, int&) override { return Ran("loan-period dialog"); }
    void RunAboutDialog() override { Ran("about dialog"); }
    std::string ChooseHolidayFile(bool, const std::string&) override { return {}; }
    void StartStepTimer(int) override {}
    void StopStepTimer() override {}
    void PostToUiThread(std::function<void()>) override {}

    bool Ran(const std::string& dialog)
    {
        told.push_back(dialog);
        return false;
    }

    std::map<int, std::string> texts;
    std::map<int, bool> checked;
    ProgressLine progress;
    std::string yearCaption;
    CCalendarModel calendars[12];
    std::vector<std::string> told;  // message boxes, questions and the small dialogs run
    std::vector<std::string> console;
};

// The dialog just started on `today`.
struct Started {
    explicit Started(LocalTime today)
    {
        behaviour.SetClock([today] { return today; });
        behaviour.InitDialog();
        view.console.clear();
    }
    FakeView view;
    CSetupBehaviour behaviour{view};
};

struct YearCase {
    std::string name;
    LocalTime today;
    int nextClicks;  // negative: "<<"
    std::string caption;
    std::string total;
    ProgressLine progress;
    std::vector<std::string> console;  // written by the clicks
};

void PrintTo(const YearCase& c, std::ostream* out)
{
    *out << c.name;
}

class YearShown : public ::testing::TestWithParam<YearCase> {};

TEST_P(YearShown, CaptionTotalProgressAndNotesFollowTheYear)
{
    const YearCase& c = GetParam();
    Started dialog(c.today);
    for (int i = 0; i < c.nextClicks; ++i) dialog.behaviour.OnCommand(IDC_NEXT_YEAR);
    for (int i = 0; i > c.nextClicks; --i) dialog.behaviour.OnCommand(IDC_PREV_YEAR);
    EXPECT_EQ(dialog.view.yearCaption, c.caption);
    EXPECT_EQ(dialog.view.texts[IDC_TOTAL], c.total);
    EXPECT_EQ(dialog.view.progress, c.progress);
    EXPECT_EQ(dialog.view.console, c.console);
    // Every calendar shows the year, today's day in today's month.
    for (int month = 1; month <= 12; ++month) {
        const CLunarDate& shown = dialog.view.calendars[month - 1].GetDate();
        EXPECT_EQ(shown.GetYear(CAL_SOLAR), std::stoi(c.caption));
        EXPECT_EQ(shown.GetMonth(CAL_SOLAR), month);
        EXPECT_EQ(shown.GetDay(CAL_SOLAR), month == c.today.month ? c.today.day : 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, YearShown,
    ::testing::Values(
        YearCase{"the year of the clock", {2026, 5, 14, 10, 30, 0}, 0, "2026 년", "    총휴일수 :    72 일", {}, {}},
        YearCase{"2009 is the first", {2010, 3, 2, 9, 0, 0}, -2, "2009 년", "    총휴일수 :    62 일", {}, {}},
        YearCase{"into 2050, past the lunar table",
                 {2049, 12, 1, 9, 0, 0},
                 1,
                 "2050 년",
                 "    총휴일수 :    64 일",
                 {true, 0, 1, "음력 휴일 없음 (음력 표 밖의 해)", kLunarNote2050},
                 {"[NOTE]=>" + kLunarNote2050 + "\n"}}),
    CaseName());

// Every command that would send a frame, and what it would run first.
class NoPortOpen : public ::testing::TestWithParam<int> {};

TEST_P(NoPortOpen, TheCommandSaysSoAndRunsNothing)
{
    Started dialog({2026, 5, 14, 10, 30, 0});
    ASSERT_TRUE(dialog.behaviour.OnCommand(GetParam()));
    EXPECT_EQ(dialog.view.told, std::vector<std::string>{TEXT_OPEN_PORT_FIRST});
    EXPECT_EQ(g_nPendingCmd, PENDING_NONE);
}

INSTANTIATE_TEST_SUITE_P(Commands, NoPortOpen,
                         ::testing::Values(IDC_SYSTEM_CONNECT, IDC_SET_TIME, IDC_DATA_READ, IDC_DATA_DELETE,
                                           IDC_DATA_SEND, IDC_HOLIDAY_WEEKDAYS, IDC_LOAN_PERIOD));

struct EnterCase {
    std::string name;
    int focused;
    bool taken;
    std::vector<std::string> told;
};

void PrintTo(const EnterCase& c, std::ostream* out)
{
    *out << c.name;
}

class EnterIn : public ::testing::TestWithParam<EnterCase> {};

TEST_P(EnterIn, ABoxTakesEnterAndThePortBoxOpensItsPort)
{
    const EnterCase& c = GetParam();
    Started dialog({2026, 5, 14, 10, 30, 0});
    dialog.view.texts[IDC_PORT] = "COM";  // no number yet
    EXPECT_EQ(dialog.behaviour.OnEnterIn(c.focused), c.taken);
    EXPECT_EQ(dialog.view.told, c.told);
}

INSTANTIATE_TEST_SUITE_P(Controls, EnterIn,
                         ::testing::Values(EnterCase{"port box", IDC_PORT, true, {TEXT_SELECT_PORT}},
                                           EnterCase{"weekday box", IDC_BIWEEKLY_WEEKDAY, true, {}},
                                           EnterCase{"a button", IDC_DATA_SEND, false, {}},
                                           EnterCase{"the default button", IDOK, false, {}}),
                         CaseName());

}  // namespace
