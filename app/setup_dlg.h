// The main dialog: one year as twelve month calendars, the holiday options, the port and model
// choice and the terminal commands. It hosts the protocol (ProtocolHost) and owns the serial
// object (CCommOwner); replies reach it from the reader thread as queued calls.
#pragma once

#include <functional>
#include <string>

#include <QIcon>
#include <QString>
#include <QTimer>

#include "app/template_dialog.h"
#include "calendar/calendar_ctrl.h"
#include "comm/comm.h"
#include "date/local_clock.h"
#include "protocol/protocol_host.h"
#include "widgets/color_label.h"

inline constexpr const char* TEXT_SELECT_PORT = "포트를 선택하십시오.";
// A connect, an upload or a read ends when the terminal stays silent this long.
inline constexpr int SILENCE_TIMEOUT_MS = 5000;

// The day the calendar of month `month` shows in `year`: today's day of the month for the
// current month, clamped to that month's length (29 February has no match in a common year);
// day 1 for every other month.
int CalendarDay(int year, int month, const LocalTime& today);

class CSetupDlg : public CTemplateDialog, public ProtocolHost, public CCommOwner {
public:
    CSetupDlg();
    ~CSetupDlg() override;

    // Before the dialog is shown: the port to select once the list is filled (--simulate), and
    // the model to switch to with it.
    void PresetPort(int port, int model);

    // Every message box of the dialog opens here: a Korean text, an OK button, caption "Dorvane".
    void ShowMessageBox(const QString& text);
    // Tests take the boxes' texts instead of running them modally.
    void SetMessageSink(std::function<void(const QString&)> sink) { m_messageSink = std::move(sink); }
    // Where "today" comes from; the computer's clock unless a test sets another.
    void SetClock(std::function<LocalTime()> clock) { m_clock = std::move(clock); }
    void SetSilenceTimeout(int milliseconds) { m_silenceTimer.setInterval(milliseconds); }

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

    // Counts (and with `list` 1 lists) the displayed year's holidays; sets the total caption.
    int CountHolidays(int list);

    CCalendarCtrl m_calendar[12];
    int m_nYear = 0;
    CComm m_comm;
    CColorLabel m_yearLabel;
    int m_nModel = 0;
    QIcon m_hIcon;

    // ProtocolHost
    void WriteConsole(const std::string& line) override;
    void SetTotalCaption(const std::string& text) override;
    void WriteFrame(const std::string& frame) override;
    void ShowMessage(const std::string& text) override;
    void SetStatusCaption(const std::string& text) override;
    void Repaint() override;
    int GetLongReply() override;
    void SetLongReply(int value) override;
    void RearmFramer() override;
    void DiscardPartialReply() override;

    // CCommOwner
    void PostCommFrame(int port) override;
    void PostCommError(int port, const std::string& message, const std::string& detail) override;
    void ShowCommError(const std::string& message, const std::string& detail) override;

protected:
    void OnInitDialog() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowYear();
    void SetCalendarDates(const LocalTime& today);
    void ShowModelControls(bool show);
    int CheckState(int id) const;
    // Waiting for a reply: a held or sent connect frame, an upload, a data read.
    bool AwaitingReply() const;
    // Keeps the silence timer running exactly while a reply is awaited; `activity` restarts it.
    void WatchSilence(bool activity);
    void OnSilence();
    // Ends every exchange that waits for a reply.
    void EndExchanges();
    // Upload progress in the window title: records sent of records in the list.
    void ShowUploadProgress(bool finished);

    std::function<void(const QString&)> m_messageSink;
    std::function<LocalTime()> m_clock;
    QTimer m_silenceTimer;
    bool m_bAwaitConnect = false;  // a connect frame went out and its reply has not come
    bool m_bUploadShown = false;   // the title shows a running upload
    int m_nPresetPort = 0;
    int m_nPresetModel = 0;
};
