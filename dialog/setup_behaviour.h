// Everything the setup dialog decides, whatever shows it: the year and its calendars, the
// holiday options, the model switch, the port, the commands and their one exchange at a time
// with its deadline, the progress line, the total, the holiday folder, the close question. It
// hosts the protocol (ProtocolHost), owns the serial object (CCommOwner) and reaches the screen
// only through a DialogView. Replies come from the reader thread as calls posted to the UI thread.
//
// setup_behaviour.cpp holds the dialog's start, controls and menu; setup_exchanges.cpp its side of
// the terminal's exchanges; setup_holiday_files.cpp (or _none.cpp, a build without libical) the
// holiday folder.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/comm.h"
#include "date/local_clock.h"
#include "dialog/calendar_model.h"
#include "dialog/dialog_view.h"
#include "protocol/exchange_step.h"
#include "protocol/link_status.h"
#include "protocol/protocol_host.h"

inline constexpr const char* TEXT_SELECT_PORT = "포트를 선택하십시오.";
inline constexpr const char* TEXT_CLOSE_WHILE_SENDING = "전송 중입니다. 종료하시겠습니까?";
// The progress line for a year whose lunar holidays cannot be found; the whole note is its tooltip.
inline constexpr const char* TEXT_LUNAR_HOLIDAYS_MISSING = "음력 휴일 없음 (음력 표 밖의 해)";
inline constexpr const char* TEXT_SEND_ANYWAY = "그대로 보내시겠습니까?";
inline constexpr const char* TEXT_SHOW_CONSOLE = "콘솔 보기";
inline constexpr const char* TEXT_IMPORT_HOLIDAYS = "휴일 가져오기…";
inline constexpr const char* TEXT_EXPORT_HOLIDAYS = "휴일 내보내기…";
// A connect, an upload or a read ends when its reply has not come this long after its frame.
inline constexpr int SILENCE_TIMEOUT_MS = 5000;

// Where the twelve calendars go in the main dialog, in pixels: four a row, three rows.
inline constexpr int CALENDAR_SIZE = 200;
CalRect CalendarPlace(int month);

// The day the calendar of month `month` shows in `year`: today's day of the month for the
// current month, clamped to that month's length (29 February has no match in a common year);
// day 1 for every other month.
int CalendarDay(int year, int month, const LocalTime& today);

// Inside the dialog a calendar gets only the keys that turn its month: the dialog's keyboard
// interface has the rest, and the arrows, which would move the focus on unseen (a calendar shows
// none), do nothing.
bool CalendarTakesKeyInDialog(CalendarKey key);

struct MenuItem {
    int command;  // IDM_... of res/resource.h
    std::string text;
};

class CSetupBehaviour : public ProtocolHost, public CCommOwner {
public:
    explicit CSetupBehaviour(DialogView& view);
    ~CSetupBehaviour() override;

    // Before the dialog is shown: the port to select once the list is filled (--simulate,
    // --port), and the model to switch to with it.
    void PresetPort(int port, int model);
    // Where "today" comes from; the computer's clock unless a test sets another.
    void SetClock(std::function<LocalTime()> clock) { m_clock = std::move(clock); }
    void SetSilenceTimeout(int milliseconds) { m_step.SetTimeout(std::chrono::milliseconds(milliseconds)); }

    // Once the view's controls and calendars exist and before the operator sees them.
    void InitDialog();

    // A click of button `id` of the main dialog, or the confirmed choice in combobox `id`: its
    // handler. False when the control has none.
    bool OnCommand(int id);
    // Enter while control `id` has the focus. True when it was taken there: a port typed into the
    // port box is opened, as "포트오픈" beside it would, and the weekday box has chosen its entry;
    // false leaves it to the default button.
    bool OnEnterIn(int id);
    // A click in a calendar toggled a mark.
    void OnMarkToggled();
    // The deadline timer fired.
    void OnStepTimer();
    // The dialog's context menu and its commands (IDM_ABOUTBOX also comes from the system menu).
    std::vector<MenuItem> ContextMenu() const;
    void OnMenuCommand(int command);
    // Whether the dialog may end now: asks first while an upload runs.
    bool MayEnd();

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
    void OnImportHolidays();
    void OnExportHolidays();

    // Counts (and with `list` 1 lists) the displayed year's holidays; sets the total caption.
    int CountHolidays(int list);

    int m_nYear = 0;
    CComm m_comm;
    int m_nModel = 0;

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

private:
    void ShowYear();
    // After "<<" or ">>": the calendars, marks, progress and total of the year now shown.
    void ShowOtherYear();
    void SetCalendarDates(const LocalTime& today);
    void ShowModelControls(bool show);
    // Checks radio `on` and clears radio `off` of its group.
    void CheckRadio(int on, int off);
    int CheckState(int id) const;
    // The port as the status caption tells it.
    void ShowPortState(PortState state);
    // False, after telling the operator, while no port is open.
    bool RequireOpenPort();

    // Holiday files (setup_holiday_files.cpp).
    struct HolidayFiles;
    struct HolidayFilesDeleter {
        void operator()(HolidayFiles* files) const;
    };
    // Reads the holiday folder; its refusals are shown, its skipped events logged.
    void LoadHolidayFolder();
    // The marks as a year starts: none but the holiday files' days, with their names.
    void ResetMarks();
    // The holiday files' days of the year shown, marked again after the terminal's were deleted.
    void MarkHolidayFileDaysAgain();
    // A refused holiday file: on the console and in a message box.
    void ShowRefusal(const OperatorMessage& refusal);

    // Exchanges (setup_exchanges.cpp).
    // A frame that waits for a reply of `kind` goes out through `send`, which says whether one
    // went out.
    void BeginStep(CExchangeStep::Kind kind, const std::function<bool()>& send);
    // The ZEFA-101 connect: it waits, without a deadline, for the terminal to speak.
    void HoldConnect();
    // Arms the timer for the step's deadline, or stops it when nothing waits.
    void WatchStep();
    // Ends the exchange that waits: its reply can no longer come, or is no longer wanted.
    void EndExchange();
    // Command buttons are off while an exchange waits, so that no second one starts.
    void ShowBusy();
    void ShowProgress();
    // The three above, after the step changed.
    void ShowStep();
    void ClearProgress();

    DialogView& m_view;
    std::function<LocalTime()> m_clock;
    std::unique_ptr<HolidayFiles, HolidayFilesDeleter> m_pHolidayFiles;
    CExchangeStep m_step{std::chrono::milliseconds(SILENCE_TIMEOUT_MS)};
    bool m_bUploadShown = false;  // the progress line tells of an upload
    bool m_bEndConfirmed = false;
    int m_nPresetPort = 0;
    int m_nPresetModel = 0;
};
