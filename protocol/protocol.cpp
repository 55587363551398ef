#include "protocol/protocol.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "date/holidays.h"
#include "protocol/holiday_upload.h"
#include "protocol/read_reply.h"
#include "protocol/terminal_model.h"

int g_bConnected = 0;
PendingCommand g_nPendingCmd = PENDING_NONE;
char g_szHeldFrame[HELD_FRAME_SIZE];

void ResetLink()
{
    g_bConnected = 0;
    g_nPendingCmd = PENDING_NONE;
    g_szHeldFrame[0] = '\0';
    g_nSendCount = 0;
    g_nSendIndex = 0;
    g_nSendAnswered = 0;
}

std::string ReceivedLine(const char* text, int length)
{
    return "[RX]=>(" + std::to_string(length) + ")" + std::string(text, length) + "\n";
}

std::string SentLine(const std::string& frame)
{
    return "[TX]=>" + frame + "\n";
}

std::string TimeoutLine(const std::string& why)
{
    return "[TIMEOUT]=>" + why + "\n";
}

std::string ClockOutOfRangeText(int year)
{
    return "컴퓨터 시계의 연도(" + std::to_string(year) + ")는 단말기에 보낼 수 없습니다 (" +
           std::to_string(TERMINAL_FIRST_YEAR) + "-" + std::to_string(TERMINAL_LAST_YEAR) + ").";
}

namespace {

// Every frame leaves here; `alwaysLogged` for the ones every host logs.
void Send(ProtocolHost& host, const std::string& frame, bool alwaysLogged = false)
{
    host.WriteFrame(frame);
    if (alwaysLogged || host.LogsEveryFrame()) host.WriteConsole(SentLine(frame));
}

// The connection test of the commands that need one; tells the operator when it fails.
bool RequireConnection(ProtocolHost& host)
{
    if (g_bConnected == 1) return true;
    host.ShowMessage(TEXT_NOT_CONNECTED);
    return false;
}

}  // namespace

void OnSystemConnect(ProtocolHost& host, int model)
{
    const std::string frame = FrameConnect(model);
    if (model == MODEL_ZEFA101) {
        // The ZEFA-101 speaks first; the frame answers whatever it says next.
        std::snprintf(g_szHeldFrame, sizeof g_szHeldFrame, "%s", frame.c_str());
        g_nPendingCmd = PENDING_CONNECT;
        return;
    }
    Send(host, frame);
}

void OnSetTime(ProtocolHost& host, int model, const LocalTime& now)
{
    if (!RequireConnection(host)) return;
    if (!IsTerminalYear(now.year)) {
        host.ShowMessage(ClockOutOfRangeText(now.year));
        return;
    }
    Send(host, FrameSetTime(model, now));
}

void OnDataRead(ProtocolHost& host, int model, int year)
{
    if (!RequireConnection(host)) return;
    // Set before the frame leaves, so the framer already joins the answer's lines.
    host.SetLongReply(1);
    Send(host, FrameRead(model, year));
}

void OnDataDelete(ProtocolHost& host, int model, int year)
{
    if (RequireConnection(host)) {
        Send(host, FrameDelete(model, year));
        ClearHolidayMarks();
    }
    host.Repaint();
}

int OnDataSend(ProtocolHost& host, int model, int year)
{
    const int total = BuildSendList(year, model, host);
    g_nSendAnswered = 0;
    if (g_nSendCount > 0 && RequireConnection(host)) {
        g_nSendIndex = 1;
        g_nPendingCmd = PENDING_UPLOAD;
        Send(host, FrameHoliday(model, g_sendList[0]));
    }
    host.SetTotalCaption(TotalCaption(total));
    return total;
}

void OnHolidayWeekdays(ProtocolHost& host, const std::string& digits)
{
    if (digits.empty() || !RequireConnection(host)) return;
    Send(host, FrameWeekdays(digits));
}

void OnLoanPeriod(ProtocolHost& host, int first, int second)
{
    Send(host, FrameLoanPeriods(first, second));
}

void OnModelSelected(ProtocolHost& host, int model)
{
    if (model == MODEL_ZEFA102) AbandonExchange(host);
}

void AbandonExchange(ProtocolHost& host)
{
    g_nPendingCmd = PENDING_NONE;
    host.SetLongReply(0);
    host.DiscardPartialReply();
}

UploadProgress GetUploadProgress()
{
    // The ZEFA-102 end record is no holiday: it counts in neither figure.
    const bool endRecord = g_nSendCount > 0 && g_sendList[g_nSendCount - 1].IsEndRecord();
    const int holidays = g_nSendCount - (endRecord ? 1 : 0);
    return {g_nPendingCmd == PENDING_UPLOAD, std::min(g_nSendAnswered, holidays), holidays};
}

namespace {

int ContinueExchange(ProtocolHost& host, int model)
{
    switch (g_nPendingCmd) {
    case PENDING_CONNECT:
        g_nPendingCmd = PENDING_NONE;
        Send(host, g_szHeldFrame);
        return REPLY_HELD_SENT;
    case PENDING_UPLOAD:
        ++g_nSendAnswered;
        if (g_nSendIndex < g_nSendCount) {
            Send(host, FrameHoliday(model, g_sendList[g_nSendIndex]), model == MODEL_ZEFA102);
            ++g_nSendIndex;
            return REPLY_UPLOAD_NEXT;
        }
        g_nPendingCmd = PENDING_NONE;
        return REPLY_UPLOAD_DONE;
    case PENDING_NONE: break;
    }
    return 0;
}

}  // namespace

int OnCommFrame(ProtocolHost& host, int model, int year, const char* frame)
{
    // Our own copy, whole: the framer hands over at most MAX_REPLY_LENGTH bytes.
    char text[MAX_REPLY_LENGTH + 1];
    int length = 0;
    while (length < MAX_REPLY_LENGTH && frame[length] != '\0') ++length;
    std::memcpy(text, frame, length);
    text[length] = '\0';

    int effect = 0;
    if (g_bConnected == 0 && std::strcmp(text, "OK") == 0) {
        g_bConnected = 1;
        host.SetStatusCaption(TEXT_CONNECTED);
        effect |= REPLY_CONNECTED;
    }

    host.WriteConsole(ReceivedLine(text, length));

    if (host.GetLongReply() == 1) {
        ClearHolidayMarks();
        ParseReadReply(text, model, g_holidaySettings.marks);
        CountHolidays(year, 0, host);
        host.SetLongReply(0);
        host.Repaint();
        effect |= REPLY_READ_DONE;
    }

    effect |= ContinueExchange(host, model);
    host.RearmFramer();
    return effect;
}
