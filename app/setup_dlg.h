// The main dialog on Qt: one view of CSetupBehaviour, which decides everything. It builds the
// template's widgets, places the twelve calendars and the console, fits a small screen, and
// turns clicks, keys, menus and timers into the behaviour's calls.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QIcon>
#include <QMargins>
#include <QString>
#include <QTimer>

#include "app/console_window.h"
#include "app/template_dialog.h"
#include "calendar/calendar_ctrl.h"
#include "dialog/setup_behaviour.h"
#include "widgets/color_label.h"

class CSetupDlg : public CTemplateDialog, private DialogView, public CSetupBehaviour {
public:
    CSetupDlg();
    ~CSetupDlg() override;

    // Every message box of the dialog opens here: a Korean text, an OK button, caption "Dorvane".
    void ShowMessageBox(const QString& text);
    // Tests take the boxes' texts instead of running them modally.
    void SetMessageSink(std::function<void(const QString&)> sink) { m_messageSink = std::move(sink); }
    // Where the import and export ask for a file: the platform's file dialog unless a test sets
    // another. Gets whether the file is to be written, returns its path or nothing.
    void SetFileChooser(std::function<QString(bool save)> chooser) { m_fileChooser = std::move(chooser); }

    CCalendarCtrl m_calendar[12];
    CColorLabel m_yearLabel;
    QIcon m_hIcon;
    CConsoleWindow m_console;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
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

    // Shrinks the dialog, frame and title bar included, onto a screen's free area smaller than
    // the one it was drawn for, and puts it in its top left corner; again once the window
    // manager has told the frame's real size.
    void FitScreen();
    // The id of the control that holds the keyboard focus; IDC_STATIC for none.
    int FocusedControl() const;

    std::function<void(const QString&)> m_messageSink;
    std::function<QString(bool)> m_fileChooser;
    QTimer m_stepTimer;
    std::optional<QMargins> m_fittedFrame;  // the frame FitScreen counted with; none before the first fit
};
