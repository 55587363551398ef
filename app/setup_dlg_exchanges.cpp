// The dialog's side of the terminal's exchanges: commands, replies, their deadlines, the busy
// buttons and the progress line.
#include <QLabel>
#include <QProgressBar>

#include "app/loan_period_dlg.h"
#include "app/setup_dlg.h"
#include "app/weekday_dlg.h"
#include "date/holidays.h"
#include "date/unknown_holidays.h"
#include "date/mark_names.h"
#include "holiday_files/imported_holidays.h"
#include "protocol/holiday_upload.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"

namespace {

using Clock = CExchangeStep::Clock;

// The buttons that start an exchange; a new connect may replace a held one.
constexpr int COMMAND_BUTTONS[] = {
    IDC_SET_TIME, IDC_DATA_READ, IDC_DATA_DELETE, IDC_DATA_SEND, IDC_HOLIDAY_WEEKDAYS, IDC_LOAN_PERIOD,
};

constexpr const char* TEXT_WAITING_FOR_TERMINAL = "단말기가 말하기를 기다리는 중";

}  // namespace

// Commands. The protocol decides; the dialog watches for the reply each one waits for. None
// goes out while no port is open.

void CSetupDlg::OnSystemConnect()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    if (m_nModel == MODEL_ZEFA101) {
        ::OnSystemConnect(*this, m_nModel);
        HoldConnect();
    } else {
        BeginStep(CExchangeStep::STEP_CONNECT, [this] {
            ::OnSystemConnect(*this, m_nModel);
            return true;
        });
    }
}

void CSetupDlg::OnSetTime()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    ::OnSetTime(*this, m_nModel, m_clock());
}

void CSetupDlg::OnDataRead()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    BeginStep(CExchangeStep::STEP_READ, [this] {
        ::OnDataRead(*this, m_nModel, m_nYear);
        return m_comm.m_bLongReply != 0;  // not when unconnected
    });
}

void CSetupDlg::OnDataDelete()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    ::OnDataDelete(*this, m_nModel, m_nYear);
    // The terminal's days are gone, not the holiday files' ones; the total follows. A file refused
    // for this year was said so when the year was shown.
    MarkHolidayFileDays(m_holidayFiles, m_nYear, g_holidaySettings, g_markNames);
    CountHolidays(0);
}

void CSetupDlg::OnDataSend()
{
    if (!RequireOpenPort()) return;
    if (LunarHolidaysUnknown(m_nYear) &&
        !Ask(QString::fromStdString(UnknownHolidayNotes(m_nYear).front().korean + "\n\n") +
             QString::fromUtf8(TEXT_SEND_ANYWAY))) {
        return;
    }
    ClearProgress();
    BeginStep(CExchangeStep::STEP_UPLOAD, [this] {
        ::OnDataSend(*this, m_nModel, m_nYear);
        return GetUploadProgress().running;  // not for an empty list, nor unconnected
    });
}

void CSetupDlg::OnHolidayWeekdays()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    CWeekdayDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    ::OnHolidayWeekdays(*this, dlg.m_strWeekdays);
}

void CSetupDlg::OnLoanPeriod()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    CLoanPeriodDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    ::OnLoanPeriod(*this, dlg.m_nLoanPeriod1, dlg.m_nLoanPeriod2);
}

// Steps.

void CSetupDlg::BeginStep(CExchangeStep::Kind kind, const std::function<bool()>& send)
{
    const std::uint64_t bytes = m_comm.BytesRead();
    const Clock::time_point now = Clock::now();
    if (!send()) return;  // nothing went out, so nothing waits
    m_step.Begin(kind, now, bytes);
    ShowStep();
}

void CSetupDlg::HoldConnect()
{
    // The terminal speaks when it likes; the operator ends the wait with another model, another
    // connect or by closing.
    m_step.Hold(Clock::now(), m_comm.BytesRead(), false);
    ShowStep();
}

void CSetupDlg::WatchStep()
{
    const std::optional<Clock::time_point> deadline = m_step.Deadline();
    if (!deadline) {
        m_stepTimer.stop();
        return;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    m_stepTimer.start(static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
}

void CSetupDlg::OnStepTimer()
{
    m_step.OnLineActivity(m_comm.BytesRead(), m_comm.ReplyArriving());
    if (!m_step.Expired(Clock::now())) {
        WatchStep();  // a reply still arriving moved the deadline
        return;
    }
    const OperatorMessage failure = DescribeExpiredStep(m_step);
    WriteConsole(TimeoutLine(failure.korean));
    EndExchange();
    ShowMessageBox(QString::fromStdString(failure.korean));
}

void CSetupDlg::EndExchange()
{
    if (m_step.Waiting() != CExchangeStep::STEP_NONE || g_nPendingCmd != PENDING_NONE || m_comm.m_bLongReply) {
        AbandonExchange(*this);
    }
    m_step.End();
    ShowStep();
}

void CSetupDlg::ShowStep()
{
    WatchStep();
    ShowBusy();
    ShowProgress();
}

void CSetupDlg::ShowBusy()
{
    const CExchangeStep::Kind waiting = m_step.Waiting();
    for (int id : COMMAND_BUTTONS) GetDlgItem(id)->setEnabled(waiting == CExchangeStep::STEP_NONE);
    GetDlgItem(IDC_SYSTEM_CONNECT)
        ->setEnabled(waiting == CExchangeStep::STEP_NONE || waiting == CExchangeStep::STEP_HELD_CONNECT);
}

// The progress line: the upload's holidays, taken of all to send, and how it ended; or the
// wait of a held connect; or, for a year outside the lunar table, that its lunar holidays are
// missing.

void CSetupDlg::ShowProgress()
{
    auto* bar = GetDlgItemAs<QProgressBar>(IDC_PROGRESS);
    const UploadProgress upload = GetUploadProgress();
    if (upload.running || m_bUploadShown) {
        m_bUploadShown = true;
        const char* state = upload.running                    ? "데이터 전송 %1 / %2"
                            : upload.answered == upload.total ? "데이터 전송 완료 %1 / %2"
                                                              : "데이터 전송 중단 %1 / %2";
        bar->setRange(0, std::max(upload.total, 1));
        bar->setValue(upload.answered);
        bar->setFormat(QString::fromUtf8(state).arg(upload.answered).arg(upload.total));
        bar->show();
    } else if (m_step.Waiting() == CExchangeStep::STEP_HELD_CONNECT) {
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->setFormat(QString::fromUtf8(TEXT_WAITING_FOR_TERMINAL));
        bar->show();
    } else if (LunarHolidaysUnknown(m_nYear)) {
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->setFormat(QString::fromUtf8(TEXT_LUNAR_HOLIDAYS_MISSING));
        bar->show();
    } else {
        bar->hide();
    }
    bar->setToolTip(LunarHolidaysUnknown(m_nYear)
                        ? QString::fromStdString(UnknownHolidayNotes(m_nYear).front().korean)
                        : QString());
}

void CSetupDlg::ClearProgress()
{
    m_bUploadShown = false;
    ShowProgress();
}

// Replies.

void CSetupDlg::PostCommFrame(int)
{
    QMetaObject::invokeMethod(
        this, [this] { OnCommFrame(); }, Qt::QueuedConnection);
}

void CSetupDlg::OnCommFrame()
{
    // A reopen since the notice was queued re-armed the framer: that frame is gone.
    if (m_comm.m_nFrameState != FRAME_READY) return;
    const std::string text(m_comm.m_frame, static_cast<std::size_t>(m_comm.m_nFrameLen));
    const int effect = ::OnCommFrame(*this, m_nModel, m_nYear, m_comm.m_frame);
    m_step.OnReply(effect, text, Clock::now(), m_comm.BytesRead());
    ShowStep();
}

void CSetupDlg::PostCommError(int, const OperatorMessage& error)
{
    QMetaObject::invokeMethod(
        this,
        [this, error] {
            WriteConsole(error.korean + " (" + error.english + ")\n");
            // No reply can come on a line that is gone.
            EndExchange();
            if (m_comm.m_bRunning == 0) ShowPortState(PORT_LOST);  // unless reopened since
            ShowMessageBox(QString::fromStdString(error.korean));
        },
        Qt::QueuedConnection);
}

void CSetupDlg::ShowCommError(const OperatorMessage& error)
{
    WriteConsole(error.korean + " (" + error.english + ")\n");
    ShowMessageBox(QString::fromStdString(error.korean));
}

// ProtocolHost.

void CSetupDlg::WriteConsole(const std::string& line)
{
    m_console.Write(line);
}

void CSetupDlg::SetTotalCaption(const std::string& text)
{
    GetDlgItemAs<QLabel>(IDC_TOTAL)->setText(QString::fromStdString(text));
}

void CSetupDlg::WriteFrame(const std::string& frame)
{
    m_comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
}

void CSetupDlg::ShowMessage(const std::string& text)
{
    ShowMessageBox(QString::fromStdString(text));
}

void CSetupDlg::SetStatusCaption(const std::string& text)
{
    GetDlgItemAs<QLabel>(IDC_STATUS)->setText(QString::fromStdString(text));
}

void CSetupDlg::Repaint()
{
    update();
    for (CCalendarCtrl& calendar : m_calendar) calendar.update();
}

int CSetupDlg::GetLongReply()
{
    return m_comm.m_bLongReply;
}

void CSetupDlg::SetLongReply(int value)
{
    m_comm.m_bLongReply = value;
}

void CSetupDlg::RearmFramer()
{
    m_comm.RearmFramer();
}

void CSetupDlg::DiscardPartialReply()
{
    m_comm.DiscardPartialReply();
}
