// The dialog's side of the terminal's exchanges: commands, replies, their deadlines, the busy
// buttons and the progress line.
#include <algorithm>
#include <cstdio>

#include "date/unknown_holidays.h"
#include "dialog/setup_behaviour.h"
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

void CSetupBehaviour::OnSystemConnect()
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

void CSetupBehaviour::OnSetTime()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    ::OnSetTime(*this, m_nModel, m_clock());
}

void CSetupBehaviour::OnDataRead()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    BeginStep(CExchangeStep::STEP_READ, [this] {
        ::OnDataRead(*this, m_nModel, m_nYear);
        return m_comm.m_bLongReply != 0;  // not when unconnected
    });
}

void CSetupBehaviour::OnDataDelete()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    ::OnDataDelete(*this, m_nModel, m_nYear);
    // The terminal's days are gone, not the holiday files' ones; the total follows. A file refused
    // for this year was said so when the year was shown.
    MarkHolidayFileDaysAgain();
    CountHolidays(0);
}

void CSetupBehaviour::OnDataSend()
{
    if (!RequireOpenPort()) return;
    if (LunarHolidaysUnknown(m_nYear) &&
        !m_view.AskOperator(UnknownHolidayNotes(m_nYear).front().korean + "\n\n" + TEXT_SEND_ANYWAY)) {
        return;
    }
    ClearProgress();
    BeginStep(CExchangeStep::STEP_UPLOAD, [this] {
        ::OnDataSend(*this, m_nModel, m_nYear);
        return GetUploadProgress().running;  // not for an empty list, nor unconnected
    });
}

void CSetupBehaviour::OnHolidayWeekdays()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    std::string digits;
    if (!m_view.RunWeekdayDialog(digits)) return;
    ::OnHolidayWeekdays(*this, digits);
}

void CSetupBehaviour::OnLoanPeriod()
{
    if (!RequireOpenPort()) return;
    ClearProgress();
    int first = 0, second = 0;
    if (!m_view.RunLoanPeriodDialog(first, second)) return;
    ::OnLoanPeriod(*this, first, second);
}

// Steps.

void CSetupBehaviour::BeginStep(CExchangeStep::Kind kind, const std::function<bool()>& send)
{
    const std::uint64_t bytes = m_comm.BytesRead();
    const Clock::time_point now = Clock::now();
    if (!send()) return;  // nothing went out, so nothing waits
    m_step.Begin(kind, now, bytes);
    ShowStep();
}

void CSetupBehaviour::HoldConnect()
{
    // The terminal speaks when it likes; the operator ends the wait with another model, another
    // connect or by closing.
    m_step.Hold(Clock::now(), m_comm.BytesRead(), false);
    ShowStep();
}

void CSetupBehaviour::WatchStep()
{
    const std::optional<Clock::time_point> deadline = m_step.Deadline();
    if (!deadline) {
        m_view.StopStepTimer();
        return;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    m_view.StartStepTimer(static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
}

void CSetupBehaviour::OnStepTimer()
{
    m_step.OnLineActivity(m_comm.BytesRead(), m_comm.ReplyArriving());
    if (!m_step.Expired(Clock::now())) {
        WatchStep();  // a reply still arriving moved the deadline
        return;
    }
    const OperatorMessage failure = DescribeExpiredStep(m_step);
    WriteConsole(TimeoutLine(failure.korean));
    EndExchange();
    m_view.TellOperator(failure.korean);
}

void CSetupBehaviour::EndExchange()
{
    if (m_step.Waiting() != CExchangeStep::STEP_NONE || g_nPendingCmd != PENDING_NONE || m_comm.m_bLongReply) {
        AbandonExchange(*this);
    }
    m_step.End();
    ShowStep();
}

void CSetupBehaviour::ShowStep()
{
    WatchStep();
    ShowBusy();
    ShowProgress();
}

void CSetupBehaviour::ShowBusy()
{
    const CExchangeStep::Kind waiting = m_step.Waiting();
    for (int id : COMMAND_BUTTONS) m_view.EnableControl(id, waiting == CExchangeStep::STEP_NONE);
    m_view.EnableControl(IDC_SYSTEM_CONNECT,
                         waiting == CExchangeStep::STEP_NONE || waiting == CExchangeStep::STEP_HELD_CONNECT);
}

// The progress line: the upload's holidays, taken of all to send, and how it ended; or the
// wait of a held connect; or, for a year outside the lunar table, that its lunar holidays are
// missing.

void CSetupBehaviour::ShowProgress()
{
    ProgressLine line;
    const UploadProgress upload = GetUploadProgress();
    if (upload.running || m_bUploadShown) {
        m_bUploadShown = true;
        const char* state = upload.running                    ? "데이터 전송"
                            : upload.answered == upload.total ? "데이터 전송 완료"
                                                              : "데이터 전송 중단";
        char text[96];
        std::snprintf(text, sizeof text, "%s %d / %d", state, upload.answered, upload.total);
        line = {true, upload.answered, std::max(upload.total, 1), text, {}};
    } else if (m_step.Waiting() == CExchangeStep::STEP_HELD_CONNECT) {
        line = {true, 0, 1, TEXT_WAITING_FOR_TERMINAL, {}};
    } else if (LunarHolidaysUnknown(m_nYear)) {
        line = {true, 0, 1, TEXT_LUNAR_HOLIDAYS_MISSING, {}};
    }
    if (LunarHolidaysUnknown(m_nYear)) line.tip = UnknownHolidayNotes(m_nYear).front().korean;
    m_view.ShowProgressLine(line);
}

void CSetupBehaviour::ClearProgress()
{
    m_bUploadShown = false;
    ShowProgress();
}

// Replies.

void CSetupBehaviour::PostCommFrame(int)
{
    m_view.PostToUiThread([this] { OnCommFrame(); });
}

void CSetupBehaviour::OnCommFrame()
{
    // A reopen since the notice was posted re-armed the framer: that frame is gone.
    if (m_comm.m_nFrameState != FRAME_READY) return;
    const std::string text(m_comm.m_frame, static_cast<std::size_t>(m_comm.m_nFrameLen));
    const int effect = ::OnCommFrame(*this, m_nModel, m_nYear, m_comm.m_frame);
    m_step.OnReply(effect, text, Clock::now(), m_comm.BytesRead());
    ShowStep();
}

void CSetupBehaviour::PostCommError(int, const OperatorMessage& error)
{
    m_view.PostToUiThread([this, error] {
        WriteConsole(error.korean + " (" + error.english + ")\n");
        // No reply can come on a line that is gone.
        EndExchange();
        if (m_comm.m_bRunning == 0) ShowPortState(PORT_LOST);  // unless reopened since
        m_view.TellOperator(error.korean);
    });
}

void CSetupBehaviour::ShowCommError(const OperatorMessage& error)
{
    WriteConsole(error.korean + " (" + error.english + ")\n");
    m_view.TellOperator(error.korean);
}
