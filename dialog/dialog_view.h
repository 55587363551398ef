// What the setup dialog's behaviour asks of whatever shows it: the Qt dialog, the Win32 dialog,
// a fake in tests. Controls are named by their ids in res/resource.h; texts are UTF-8. Every
// call comes on the UI thread, except PostToUiThread, which the serial reader calls.
#pragma once

#include <functional>
#include <string>

class CCalendarModel;

// The line under the status: how far an upload got, or a wait, or a note on the year.
struct ProgressLine {
    bool visible = false;
    int value = 0;
    int maximum = 1;
    std::string text;
    std::string tip;  // shown when the pointer rests on it; may be empty
    friend bool operator==(const ProgressLine&, const ProgressLine&) = default;
};

class DialogView {
public:
    virtual ~DialogView() = default;

    // Controls.
    virtual void SetControlText(int id, const std::string& text) = 0;
    // What the control shows; for a combobox, the text in its edit field.
    virtual std::string ControlText(int id) const = 0;
    virtual bool ControlChecked(int id) const = 0;
    virtual void SetControlChecked(int id, bool checked) = 0;
    virtual void EnableControl(int id, bool enabled) = 0;
    virtual void ShowControl(int id, bool visible) = 0;
    virtual void SetControlTip(int id, const std::string& tip) = 0;
    // Comboboxes: a sorted one places the string itself.
    virtual void AddComboString(int id, const std::string& text) = 0;
    // Selects the entry reading `text`; false, selecting nothing, when there is none.
    virtual bool SelectComboString(int id, const std::string& text) = 0;
    // The index of the selected entry, -1 for none.
    virtual int ComboSelection(int id) const = 0;
    virtual void SetComboSelection(int id, int index) = 0;
    virtual void ShowProgressLine(const ProgressLine& line) = 0;
    // The year caption's text; its look is YEAR_CAPTION_STYLE.
    virtual void SetYearCaption(const std::string& text) = 0;

    // The twelve month calendars, January first, and a repaint of the dialog with all of them.
    virtual CCalendarModel& Calendar(int month) = 0;
    virtual void RepaintAll() = 0;

    // The operator: a box with an OK button; a question answered 예 or 아니요 (아니요 the default).
    virtual void TellOperator(const std::string& text) = 0;
    virtual bool AskOperator(const std::string& text) = 0;
    // The console window: one line as it is to be shown, "\n" included; and bringing it up.
    virtual void AppendConsoleLine(const std::string& line) = 0;
    virtual void OpenConsole() = 0;

    // The small dialogs, modal: false when cancelled.
    virtual bool RunWeekdayDialog(std::string& digits) = 0;
    virtual bool RunLoanPeriodDialog(int& first, int& second) = 0;
    virtual void RunAboutDialog() = 0;
    // A holiday file to read (`save` false) or write; empty when none was chosen.
    virtual std::string ChooseHolidayFile(bool save, const std::string& suggestedName) = 0;

    // The one-shot timer of the exchanges' deadlines: OnStepTimer of the behaviour when it fires.
    virtual void StartStepTimer(int milliseconds) = 0;
    virtual void StopStepTimer() = 0;
    // Any thread: runs `call` on the UI thread soon, in the order posted.
    virtual void PostToUiThread(std::function<void()> call) = 0;
};
