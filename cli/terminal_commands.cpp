#include "cli/terminal_commands.h"

#include <cstdio>

#include "cli/holiday_options.h"
#include "cli/terminal_session.h"
#include "date/holidays.h"
#include "date/local_clock.h"
#include "date/lunar_date.h"
#include "protocol/holiday_upload.h"
#include "protocol/protocol.h"

namespace {

// The days the terminal holds, as the read reply marked them.
void ListReadBack(CTerminalSession& session, int year)
{
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonth(year, month, CAL_SOLAR, 0); ++day) {
            if (g_holidaySettings.marks[month][day] != 1) continue;
            char line[48];
            std::snprintf(line, sizeof line, "Read => %04d-%02d-%02d\n", year, month, day);
            session.WriteConsole(line);
        }
    }
}

ExitStatus RunExchange(const CliRequest& request, CTerminalSession& session)
{
    const int model = request.model;
    switch (request.command) {
    case CliCommand::Connect: return EXIT_OK;
    case CliCommand::SetTime: OnSetTime(session, model, ReadLocalClock()); return session.AwaitReply(0);
    case CliCommand::Read: {
        OnDataRead(session, model, request.year);
        const ExitStatus status = session.AwaitReply(REPLY_READ_DONE);
        if (status == EXIT_OK) ListReadBack(session, request.year);
        return status;
    }
    case CliCommand::Delete: OnDataDelete(session, model, request.year); return session.AwaitReply(0);
    case CliCommand::Send:
        OnDataSend(session, model, request.year);
        // An empty list sends nothing, as in the dialog; the listing said why.
        if (!GetUploadProgress().running) return EXIT_OK;
        return session.AwaitReply(REPLY_UPLOAD_DONE);
    case CliCommand::Weekdays: OnHolidayWeekdays(session, request.weekdayDigits); return session.AwaitReply(0);
    case CliCommand::Loan:
        OnLoanPeriod(session, request.loanPeriod1, request.loanPeriod2);
        return session.AwaitReply(0);
    default: return EXIT_INVALID_ARGUMENT;
    }
}

}  // namespace

ExitStatus RunTerminalCommand(const CliRequest& request, int port)
{
    ApplyHolidayOptions(request);
    CTerminalSession session(request.model, request.year, request.timeoutSeconds);
    ExitStatus status = session.Open(port);
    if (status == EXIT_OK) status = session.Connect();
    if (status == EXIT_OK) status = RunExchange(request, session);
    if (status != EXIT_OK) {
        std::fprintf(stderr, "dorvane-cli: %s / %s\n", session.ErrorKorean().c_str(), session.ErrorEnglish().c_str());
    }
    return status;
}
