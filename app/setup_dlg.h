// The main dialog: one year as twelve month calendars, the holiday options, the port and model
// choice and the terminal commands. It hosts the protocol (ProtocolHost) and owns the serial
// object (CCommOwner); replies reach it from the reader thread as queued calls.
//
// setup_dlg.cpp holds the dialog and its controls, setup_dlg_exchanges.cpp its side of the
// terminal's exchanges: replies, their deadlines, the busy buttons and the progress line.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <QIcon>
#include <QMargins>
#include <QString>
#include <QTimer>

#include "app/console_window.h"
#include "app/template_dialog.h"
#include "calendar/calendar_ctrl.h"
#include "comm/comm.h"
#include "holiday_files/holiday_file.h"
#include "date/local_clock.h"
#include "protocol/exchange_step.h"
#include "protocol/link_status.h"
#include "protocol/protocol_host.h"
#include "widgets/color_label.h"

inline constexpr const char* TEXT_SELECT_PORT = "포트를 선택하십시오.";
inline constexpr const char* TEXT_CLOSE_WHILE_SENDING = "전송 중입니다. 종료하시겠습니까?";
// The progress line for a year whose lunar holidays cannot be found; the whole note is its tooltip.
inline constexpr const char* TEXT_LUNAR_HOLIDAYS_MISSING = "음력 휴일 없음 (음력 표 밖의 해)";
inline constexpr const char* TEXT_SEND_ANYWAY = "그대로 보내시겠습니까?";
inline constexpr const char* TEXT_SHOW_CONSOLE = "콘솔 보기";
inline constexpr const char* TEXT_IMPORT_HOLIDAYS = "휴일 가져오기…";
inline constexpr const char* TEXT_EXPORT_HOLIDAYS = "휴일 내보내기…";
// %1: the file's name.
inline constexpr const char* TEXT_REPLACE_HOLIDAY_FILE = "휴일 폴더에 같은 이름의 파일(%1)이 있습니다. 바꾸시겠습니까?";
// A connect, an upload or a read ends when its reply has not come this long after its frame.
inline constexpr int SILENCE_TIMEOUT_MS = 5000;

// The day the calendar of month `month` shows in `year`: today's day of the month for the
// current month, clamped to that month's length (29 February has no match in a common year);
// day 1 for every other month.
int CalendarDay(int year, int month, const LocalTime& today);

class CSetupDlg : public CTemplateDialog, public ProtocolHost, public CCommOwner {
public:
    CSetupDlg();
    ~CSetupDlg() override;

    // Before the dialog is shown: the port to select once the list is filled (--simulate,
    // --port), and the model to switch to with it.
    void PresetPort(int port, int model);

    // Every message box of the dialog opens here: a Korean text, an OK button, caption "Dorvane".
    void ShowMessageBox(const QString& text);
    // Tests take the boxes' texts instead of running them modally.
    void SetMessageSink(std::function<void(const QString&)> sink) { m_messageSink = std::move(sink); }
    // Where "today" comes from; the computer's clock unless a test sets another.
    void SetClock(std::function<LocalTime()> clock) { m_clock = std::move(clock); }
    void SetSilenceTimeout(int milliseconds) { m_step.SetTimeout(std::chrono::milliseconds(milliseconds)); }
    // Where the import and export ask for a file: the platform's file dialog unless a test sets
    // another. Gets whether the file is to be written, returns its path or nothing.
    void SetFileChooser(std::function<QString(bool save)> chooser) { m_fileChooser = std::move(chooser); }

    // Handlers, in the order of the controls' roles.
    void OnNextYear();
    void OnPrevYear();
    void OnUnsetSunday();
    void OnUnsetSaturday();
    void OnUnsetHoliday();
    void OnBiweeklyUse();
    void OnBiweeklyEven();
    void OnBiweeklyOdd();
    void OnBiweeklyWeekday();
    void OnModel101();
    void OnModel102();
    void OnPortOpen();
    void OnSystemConnect();
    void OnSetTime();
    void OnDataRead();
    void OnDataDelete();
    void OnDataSend();
    void OnHolidayWeekdays();
    void OnLoanPeriod();
    void OnCommFrame();
    void OnAboutBox();
    void OnImportHolidays();
    void OnExportHolidays();

    // Counts (and with `list` 1 lists) the displayed year's holidays; sets the total caption.
    int CountHolidays(int list);

    CCalendarCtrl m_calendar[12];
    int m_nYear = 0;
    CComm m_comm;
    CColorLabel m_yearLabel;
    int m_nModel = 0;
    QIcon m_hIcon;
    CConsoleWindow m_console;

    // ProtocolHost
    void WriteConsole(const std::string& line) override;
    void SetTotalCaption(const std::string& text) override;
    void WriteFrame(const std::string& frame) override;
    bool LogsEveryFrame() const override { return true; }
    void ShowMessage(const std::string& text) override;
    void SetStatusCaption(const std::string& text) override;
    void Repaint() override;
    int GetLongReply() override;
    void SetLongReply(int value) override;
    void RearmFramer() override;
    void DiscardPartialReply() override;

    // CCommOwner
    void PostCommFrame(int port) override;
    void PostCommError(int port, const OperatorMessage& error) override;
    void ShowCommError(const OperatorMessage& error) override;

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
    void ShowYear();
    // After "<<" or ">>": the calendars, marks, progress and total of the year now shown.
    void ShowOtherYear();
    void SetCalendarDates(const LocalTime& today);
    void ShowModelControls(bool show);
    int CheckState(int id) const;
    // Shrinks the dialog, frame and title bar included, onto a screen's free area smaller than
    // the one it was drawn for, and puts it in its top left corner; again once the window
    // manager has told the frame's real size.
    void FitScreen();
    // The port as the status caption tells it.
    void ShowPortState(PortState state);
    // False, after telling the operator, while no port is open.
    bool RequireOpenPort();
    // Whether the dialog may end now: asks first while an upload runs.
    bool MayEnd();
    // A question with 예 and 아니요, modal to the dialog; 아니요 is the default.
    bool Ask(const QString& text);

    // Holiday files (setup_dlg_holiday_files.cpp).
    // Reads the holiday folder; its refusals are shown, its skipped events logged.
    void LoadHolidayFolder();
    // The marks as a year starts: none but the holiday files' days, with their names.
    void ResetMarks();
    // A refused holiday file: on the console and in a message box.
    void ShowRefusal(const OperatorMessage& refusal);
    QString ChooseFile(bool save);
    // The import's question before it replaces a file of the folder: 예 or 아니요.
    bool MayReplaceHolidayFile(const std::filesystem::path& target);

    // Exchanges (setup_dlg_exchanges.cpp).
    // A frame that waits for a reply of `kind` goes out through `send`, which says whether one
    // went out.
    void BeginStep(CExchangeStep::Kind kind, const std::function<bool()>& send);
    // The ZEFA-101 connect: it waits, without a deadline, for the terminal to speak.
    void HoldConnect();
    // Arms the timer for the step's deadline, or stops it when nothing waits.
    void WatchStep();
    void OnStepTimer();
    // Ends the exchange that waits: its reply can no longer come, or is no longer wanted.
    void EndExchange();
    // Command buttons are off while an exchange waits, so that no second one starts.
    void ShowBusy();
    void ShowProgress();
    // The three above, after the step changed.
    void ShowStep();
    void ClearProgress();

    std::function<void(const QString&)> m_messageSink;
    std::function<LocalTime()> m_clock;
    std::function<QString(bool)> m_fileChooser;
    std::vector<HolidayFile> m_holidayFiles;
    CExchangeStep m_step{std::chrono::milliseconds(SILENCE_TIMEOUT_MS)};
    QTimer m_stepTimer;
    bool m_bUploadShown = false;  // the progress line tells of an upload
    bool m_bEndConfirmed = false;
    QMargins m_fittedFrame;  // the frame FitScreen counted with
    int m_nPresetPort = 0;
    int m_nPresetModel = 0;
};
