// The main dialog on Win32: one view of CSetupBehaviour, which decides everything. It builds the
// dialog from the res/ template in memory, places the twelve calendars, the year caption and the
// console window, and turns the dialog's messages into the behaviour's calls. The reader thread's
// frames reach the UI thread as a private WM_APP message posted to the dialog.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "base/windows_api.h"
#include "dialog/setup_behaviour.h"
#include "win32/calendar_window.h"
#include "win32/color_label_window.h"
#include "win32/console_window.h"

class CSetupWindow : private DialogView {
public:
    CSetupWindow();
    ~CSetupWindow() override;
    CSetupWindow(const CSetupWindow&) = delete;
    CSetupWindow& operator=(const CSetupWindow&) = delete;

    CSetupBehaviour& Behaviour() { return m_behaviour; }
    // Runs the dialog modally; returns the id of the button that ended it.
    INT_PTR RunModal(HINSTANCE instance);
    // Creates the dialog, shown, for a caller with its message loop of its own (tests); null when
    // it could not. Its messages need IsDialogMessageW.
    HWND CreateModeless(HINSTANCE instance);

    HWND Handle() const { return m_hWnd; }
    CCalendarWindow& CalendarWindow(int month) { return m_calendars[month - 1]; }
    CConsoleWindow& Console() { return m_console; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    bool OnCommandMessage(int id, int code);
    void OnContextMenu(LPARAM lParam);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    // Places and sizes everything at `scale` times its 96 dpi size.
    void Layout(double scale);
    void DrawProgressLine(const DRAWITEMSTRUCT& item);
    void RunPostedCalls();
    // The id of the control that holds the keyboard focus; IDC_STATIC for none.
    int FocusedControl() const;
    // Asks first while an upload runs.
    void End(int result);

    // DialogView
    void SetControlText(int id, const std::string& text) override;
    std::string ControlText(int id) const override;
    bool ControlChecked(int id) const override;
    void SetControlChecked(int id, bool checked) override;
    void EnableControl(int id, bool enabled) override;
    void ShowControl(int id, bool visible) override;
    void SetControlTip(int id, const std::string& tip) override;
    void AddComboString(int id, const std::string& text) override;
    bool SelectComboString(int id, const std::string& text) override;
    int ComboSelection(int id) const override;
    void SetComboSelection(int id, int index) override;
    void ShowProgressLine(const ProgressLine& line) override;
    void SetYearCaption(const std::string& text) override;
    CCalendarModel& Calendar(int month) override;
    void RepaintAll() override;
    void TellOperator(const std::string& text) override;
    bool AskOperator(const std::string& text) override;
    void AppendConsoleLine(const std::string& line) override;
    void OpenConsole() override;
    bool RunWeekdayDialog(std::string& digits) override;
    bool RunLoanPeriodDialog(int& first, int& second) override;
    void RunAboutDialog() override;
    std::string ChooseHolidayFile(bool save, const std::string& suggestedName) override;
    void StartStepTimer(int milliseconds) override;
    void StopStepTimer() override;
    void PostToUiThread(std::function<void()> call) override;

    CSetupBehaviour m_behaviour;
    std::atomic<HWND> m_hWnd{nullptr};
    HINSTANCE m_hInstance = nullptr;
    std::vector<DWORD> m_template;
    HFONT m_font = nullptr;
    double m_scale = 1.0;
    HICON m_hIcon = nullptr, m_hSmallIcon = nullptr;
    HWND m_hTip = nullptr;  // the controls' tooltips
    CCalendarWindow m_calendars[12];
    CColorLabelWindow m_yearLabel;
    CConsoleWindow m_console;
    ProgressLine m_progress;
    std::mutex m_postedMutex;
    std::vector<std::function<void()>> m_posted;  // under m_postedMutex
};
