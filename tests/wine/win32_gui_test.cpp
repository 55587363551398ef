// Windows test program, run under Wine on a virtual X server by wine_gui_test: the real setup
// dialog, created in this process and worked through its messages as the operator works it.
// The Terminal cases talk to the simulated terminal the driver puts on COM5, which checks the
// frames it received; message boxes are read and answered as they open.
//
//   win32_gui_test [--gtest_filter=...]      DORVANE_SCREENSHOT_DIR: where its pictures go
#include "base/windows_api.h"
// After <windows.h>, which it builds on.
#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "date/holidays.h"
#include "date/mark_names.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "win32/setup_window.h"

namespace {

constexpr int kPort = 5;
// A year fixed for the totals and frames below, whatever the clock says.
constexpr int kYear = 2027;

// Runs this thread's messages, as the dialog's own loop would, until `done` or the time is up.
bool PumpUntil(HWND dialog, const std::function<bool()>& done, int milliseconds = 10000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string Text(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

// Answers the message boxes of this thread as they open, from a timer that runs inside their
// own modal loops, keeping their texts.
class MessageBoxes {
public:
    explicit MessageBoxes(HWND dialog) : m_dialog(dialog)
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 20, Poll);
    }
    ~MessageBoxes()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    // The answer (IDOK, IDYES, IDNO) the next boxes get.
    void Answer(int button) { m_answer = button; }
    std::vector<std::string> texts;

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), Find, 0); }
    static BOOL CALLBACK Find(HWND window, LPARAM)
    {
        MessageBoxes* self = s_current;
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        if (self == nullptr || window == self->m_dialog || std::wcscmp(cls, L"#32770") != 0 ||
            !IsWindowVisible(window) || self->m_answered.count(window) != 0) {
            return TRUE;
        }
        // The box's text is its longest static text; the icon has none.
        std::string text;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameW(child, cls, 16);
            if (_wcsicmp(cls, L"Static") == 0 && Text(child).size() > text.size()) text = Text(child);
        }
        self->m_answered.insert(window);
        self->texts.push_back(text);
        PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(self->m_answer), 0);
        return TRUE;
    }

    static inline MessageBoxes* s_current = nullptr;
    HWND m_dialog;
    UINT_PTR m_timer = 0;
    int m_answer = IDOK;
    std::set<HWND> m_answered;
};

// A picture as 0x00BBGGRR colours, row by row from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<Colour> pixels;
    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What `window` shows on the screen, its frame included when `frame`.
Picture Capture(HWND window, bool frame)
{
    RECT r;
    frame ? GetWindowRect(window, &r) : GetClientRect(window, &r);
    Picture picture{r.right - r.left, r.bottom - r.top, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC source = frame ? GetDC(nullptr) : GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, source, frame ? r.left : 0, frame ? r.top : 0, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i) {
        const std::uint32_t p = bgrx[i];
        picture.pixels.push_back(MakeColour(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(frame ? nullptr : window, source);
    return picture;
}

// Writes `picture` as a 24-bit BMP named `name` in DORVANE_SCREENSHOT_DIR.
void Save(const Picture& picture, const std::string& name)
{
    const char* dir = std::getenv("DORVANE_SCREENSHOT_DIR");
    ASSERT_NE(dir, nullptr) << "DORVANE_SCREENSHOT_DIR names where the pictures go";
    const int row = (picture.width * 3 + 3) / 4 * 4;
    const std::uint32_t size = 54 + static_cast<std::uint32_t>(row * picture.height);
    std::vector<unsigned char> out(size, 0);
    const auto put = [&out](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(picture.width), 4);
    put(22, static_cast<std::uint32_t>(picture.height), 4);  // bottom up
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = picture.At(x, picture.height - 1 - y);
            const std::size_t at = 54 + static_cast<std::size_t>(y) * row + x * 3;
            out[at] = static_cast<unsigned char>(BlueOf(c));
            out[at + 1] = static_cast<unsigned char>(GreenOf(c));
            out[at + 2] = static_cast<unsigned char>(RedOf(c));
        }
    }
    std::ofstream(std::string(dir) + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

// The one day colour (holiday red, Saturday blue, black) among the pixels of `cell`; a colour no
// day has when there is none, or more than one.
Colour DayColourIn(const Picture& picture, const CalRect& cell)
{
    constexpr Colour kNone = 0xFFFFFFFF;
    const std::set<Colour> dayColours{MakeColour(220, 0, 0), MakeColour(0, 0, 150), MakeColour(0, 0, 0)};
    Colour found = kNone;
    for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
            const Colour c = picture.At(x, y);
            if (dayColours.count(c) == 0) continue;
            if (found != kNone && found != c) return kNone;
            found = c;
        }
    }
    return found;
}

// The dialog as dorvane.exe shows it, made modeless so that the test runs its messages.
class Win32Dialog : public ::testing::Test {
protected:
    void Open(int port = 0, int model = MODEL_ZEFA101)
    {
        ResetLink();
        g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
        g_markNames = MarkNames{};
        m_window = std::make_unique<CSetupWindow>();
        if (port > 0) m_window->Behaviour().PresetPort(port, model);
        m_window->Behaviour().SetSilenceTimeout(1000);
        dialog = m_window->CreateModeless(GetModuleHandleW(nullptr));
        ASSERT_NE(dialog, nullptr);
        boxes = std::make_unique<MessageBoxes>(dialog);
        SetForegroundWindow(dialog);
        Pump(300);  // shown and painted
    }
    void TearDown() override
    {
        boxes.reset();
        m_window.reset();
    }

    void Pump(int milliseconds)
    {
        PumpUntil(
            dialog, [] { return false; }, milliseconds);
    }
    bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000)
    {
        return PumpUntil(dialog, done, milliseconds);
    }
    void Click(int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    std::string Item(int id) const { return Text(GetDlgItem(dialog, id)); }
    // Clicks a day in its month's calendar, toggling its mark.
    void ClickDay(int month, int day)
    {
        CCalendarWindow& calendar = m_window->CalendarWindow(month);
        CalRect cell;
        ASSERT_TRUE(calendar.Model().DayCell(day, &cell)) << month << "-" << day;
        const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        SendMessageW(calendar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(calendar.Handle(), WM_LBUTTONUP, 0, at);
    }
    void ShowYear(int year)
    {
        SYSTEMTIME now;
        GetLocalTime(&now);
        for (int y = now.wYear; y < year; ++y) Click(IDC_NEXT_YEAR);
        for (int y = now.wYear; y > year; --y) Click(IDC_PREV_YEAR);
    }
    bool Connect()
    {
        Click(IDC_SYSTEM_CONNECT);
        return WaitFor([this] { return Item(IDC_STATUS) == TEXT_CONNECTED; });
    }
    std::vector<std::string> ConsoleLines()
    {
        Pump(100);  // the lines written reach the window once the UI is idle
        std::vector<std::string> lines;
        const std::string text = Text(m_window->Console().Edit());
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }

    HWND dialog = nullptr;
    std::unique_ptr<MessageBoxes> boxes;
    std::unique_ptr<CSetupWindow> m_window;
};

std::string TotalText(int total)
{
    char text[64];
    std::snprintf(text, sizeof text, "    총휴일수 : %5d 일", total);
    return text;
}

using SetupDialog = Win32Dialog;
using SmallScreen = Win32Dialog;  // on a desktop of 1024 x 600
using Terminal = Win32Dialog;

TEST_F(SetupDialog, TwelveCalendarsOfThisYearPaintEveryDayAsTheirModelSays)
{
    Open();
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int month = 1; month <= 12; ++month) {
        CCalendarWindow& calendar = m_window->CalendarWindow(month);
        const CLunarDate& shown = calendar.Model().GetDate();
        EXPECT_EQ(shown.GetYear(CAL_SOLAR), now.wYear);
        ASSERT_EQ(shown.GetMonth(CAL_SOLAR), month);
        const Picture picture = Capture(calendar.Handle(), false);
        for (int day = 1; day <= DaysInMonth(now.wYear, month, CAL_SOLAR, 0); ++day) {
            CalRect cell;
            ASSERT_TRUE(calendar.Model().DayCell(day, &cell));
            const CLunarDate date(now.wYear, month, day, CAL_SOLAR, 0);
            EXPECT_EQ(DayColourIn(picture, cell), calendar.Model().DayColour(date)) << month << "-" << day;
        }
    }
    EXPECT_TRUE(boxes->texts.empty());
}

TEST_F(SetupDialog, TheTotalIsDorvaneClisForTheYearAndTheOptionsShown)
{
    Open();
    ShowYear(kYear);
    EXPECT_EQ(Item(IDC_TOTAL), TotalText(72));  // dorvane-cli holidays 2027
    Click(IDC_NEXT_YEAR);
    EXPECT_EQ(Item(IDC_TOTAL), TotalText(71));  // 2028
    Click(IDC_PREV_YEAR);
    Click(IDC_UNSET_SUNDAY);
    EXPECT_EQ(Item(IDC_TOTAL), TotalText(24));  // 2027 --unset-sunday
    ClickDay(3, 3);
    EXPECT_EQ(Item(IDC_TOTAL), TotalText(25));  // and --mark 03-03
    // The marked day is red now, as its calendar's model says.
    CCalendarWindow& march = m_window->CalendarWindow(3);
    Pump(100);
    CalRect cell;
    ASSERT_TRUE(march.Model().DayCell(3, &cell));
    EXPECT_EQ(DayColourIn(Capture(march.Handle(), false), cell), MakeColour(220, 0, 0));
}

TEST_F(SetupDialog, WhatThisBuildCannotDoItSays)
{
    Open();
    SetDlgItemTextW(dialog, IDC_PORT, L"rfc2217://127.0.0.1:2001");
    Click(IDC_PORT_OPEN);
    m_window->Behaviour().OnMenuCommand(IDM_IMPORT_HOLIDAYS);
    m_window->Behaviour().OnMenuCommand(IDM_EXPORT_HOLIDAYS);
    const std::string noFiles =
        "이 Windows 판은 휴일 파일(iCalendar, JSON)을 읽거나 쓸 수 없습니다: Windows 용 libical 이 "
        "없습니다. 휴일은 달력에서 날짜를 눌러 정하십시오.";
    EXPECT_EQ(boxes->texts,
              (std::vector<std::string>{
                  "COM129 포트를 열수가 없습니다.\n이 빌드에는 네트워크 포트가 없습니다: rfc2217://127.0.0.1:2001",
                  noFiles, noFiles}));
    EXPECT_EQ(Item(IDC_STATUS), TEXT_PORT_OPEN_FAILED);
}

TEST_F(SmallScreen, TheWholeDialogIsInTheWorkAreaAndNoCalendarCoversTheControls)
{
    Open();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    ASSERT_LT(monitor.rcWork.bottom - monitor.rcWork.top, 730) << "a screen the dialog as drawn cannot fit";
    RECT frame, inside;
    GetWindowRect(dialog, &frame);
    EXPECT_TRUE(IntersectRect(&inside, &frame, &monitor.rcWork) && EqualRect(&inside, &frame));
    RECT controls;
    GetWindowRect(GetDlgItem(dialog, IDC_BIWEEKLY_FRAME), &controls);
    for (int month = 1; month <= 12; ++month) {
        RECT calendar;
        GetWindowRect(m_window->CalendarWindow(month).Handle(), &calendar);
        EXPECT_LE(calendar.right, controls.left) << month;
    }
    Save(Capture(dialog, true), "win32_setup_dialog_small_screen.bmp");
}

TEST_F(Terminal, Zefa102UploadSendsTheMarkedDaysAndTheEndRecord)
{
    Open(kPort, MODEL_ZEFA102);
    Click(IDC_PORT_OPEN);
    ASSERT_EQ(Item(IDC_STATUS), TEXT_DISCONNECTED);
    ASSERT_TRUE(Connect());
    ShowYear(kYear);
    Click(IDC_UNSET_SUNDAY);
    Click(IDC_UNSET_HOLIDAY);
    Click(IDC_BIWEEKLY_USE);
    Click(IDC_BIWEEKLY_USE);  // on and off again: the controls of the ZEFA-102 answer
    ClickDay(3, 3);
    ClickDay(12, 31);
    Click(IDC_DATA_SEND);
    EXPECT_TRUE(WaitFor([this] { return Item(IDC_PROGRESS) == "데이터 전송 완료 2 / 2"; }));
    EXPECT_EQ(Item(IDC_TOTAL), TotalText(2));
    const std::vector<std::string> lines = ConsoleLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[TX]=><STX>D271231<ETX>"), lines.end());
    EXPECT_TRUE(boxes->texts.empty());
    RedrawWindow(dialog, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(1000);
    Save(Capture(dialog, true), "win32_setup_dialog.bmp");
    Save(Capture(m_window->Console().Handle(), true), "win32_console.bmp");
}

TEST_F(Terminal, Zefa101ConnectWaitsForTheTerminalToSpeak)
{
    Open(kPort, MODEL_ZEFA101);
    Click(IDC_PORT_OPEN);
    Click(IDC_SYSTEM_CONNECT);
    EXPECT_EQ(Item(IDC_PROGRESS), "단말기가 말하기를 기다리는 중");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_DATA_SEND)));
    EXPECT_TRUE(WaitFor([this] { return Item(IDC_STATUS) == TEXT_CONNECTED; }));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_DATA_SEND)));
    EXPECT_TRUE(boxes->texts.empty());
}

TEST_F(Terminal, SilentTerminalEndsTheConnectWithABox)
{
    Open(kPort, MODEL_ZEFA102);
    Click(IDC_PORT_OPEN);
    Click(IDC_SYSTEM_CONNECT);
    EXPECT_TRUE(WaitFor([this] { return !boxes->texts.empty(); }, 5000));
    EXPECT_EQ(boxes->texts, std::vector<std::string>{TEXT_NO_REPLY});
    EXPECT_EQ(Item(IDC_STATUS), TEXT_DISCONNECTED);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SYSTEM_CONNECT)));
}

TEST_F(Terminal, ClosingDuringAnUploadAsksFirst)
{
    Open(kPort, MODEL_ZEFA102);
    Click(IDC_PORT_OPEN);
    ASSERT_TRUE(Connect());
    ShowYear(kYear);
    Click(IDC_UNSET_HOLIDAY);  // the 52 Sundays, slowly at the terminal's 600 baud
    Click(IDC_DATA_SEND);
    ASSERT_TRUE(GetUploadProgress().running);
    boxes->Answer(IDNO);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump(100);
    EXPECT_EQ(boxes->texts, std::vector<std::string>{TEXT_CLOSE_WHILE_SENDING});
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(GetUploadProgress().running);
    boxes->Answer(IDYES);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump(100);
    EXPECT_EQ(boxes->texts.size(), 2u);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

}  // namespace

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
