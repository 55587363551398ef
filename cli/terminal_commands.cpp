#include "cli/terminal_commands.h"

#include <cstdio>

#include "cli/holiday_options.h"
#include "cli/interrupts.h"
#include "cli/terminal_session.h"
#include "cli/upload_verification.h"
#include "date/holidays.h"
#include "date/local_clock.h"
#include "date/lunar_date.h"
#include "protocol/holiday_upload.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"

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

ExitStatus RunExchange(const CliRequest& request, const LocalTime& clock, CTerminalSession& session,
                       TerminalRunResult& result)
{
    const int model = request.model;
    const int year = request.year;
    using Step = CExchangeStep;
    switch (request.command) {
    case CliCommand::Connect: return EXIT_OK;
    case CliCommand::SetTime: return session.Exchange(Step::STEP_COMMAND, [&] { OnSetTime(session, model, clock); });
    case CliCommand::Read: {
        const ExitStatus status = session.Exchange(Step::STEP_READ, [&] { OnDataRead(session, model, year); });
        if (status == EXIT_OK) ListReadBack(session, year);
        return status;
    }
    case CliCommand::Delete: return session.Exchange(Step::STEP_COMMAND, [&] { OnDataDelete(session, model, year); });
    case CliCommand::Send: {
        OnDataSend(session, model, year);
        // An empty list sends nothing, as in the dialog; the listing said why.
        if (GetUploadProgress().running) {
            if (const ExitStatus status = session.Exchange(Step::STEP_UPLOAD, [] {}); status != EXIT_OK) return status;
        }
        return request.verify ? VerifyUpload(session, model, year, result.differences) : EXIT_OK;
    }
    case CliCommand::Weekdays:
        return session.Exchange(Step::STEP_COMMAND, [&] { OnHolidayWeekdays(session, request.weekdayDigits); });
    case CliCommand::Loan:
        return session.Exchange(Step::STEP_COMMAND,
                                [&] { OnLoanPeriod(session, request.loanPeriod1, request.loanPeriod2); });
    default: return EXIT_INVALID_ARGUMENT;
    }
}

// How far an upload got, for a run cut short: "12 / 71".
std::string UploadSoFar()
{
    const UploadProgress upload = GetUploadProgress();
    return std::to_string(upload.answered) + " / " + std::to_string(upload.total);
}

// Says why the run failed and keeps it in `result`.
TerminalRunResult Failed(TerminalRunResult result, int status, const OperatorMessage& why)
{
    PrintCliError(why);
    result.exitStatus = status;
    result.message = why;
    return result;
}

}  // namespace

TerminalRunResult RunTerminalCommand(const CliRequest& request, int port)
{
    TerminalRunResult result;
    const bool yearCommand = request.command == CliCommand::Read || request.command == CliCommand::Delete ||
                             request.command == CliCommand::Send;
    if (yearCommand) result.year = request.year;
    // The clock is read once, and refused before anything is sent.
    const LocalTime clock = ReadLocalClock();
    if (request.command == CliCommand::SetTime && !IsTerminalYear(clock.year)) {
        return Failed(result, EXIT_INVALID_ARGUMENT,
                      {ClockOutOfRangeText(clock.year),
                       "this computer's clock shows " + std::to_string(clock.year) + ", which no terminal can hold"});
    }
    if (OperatorMessage error; !ApplyHolidayOptions(request, error)) {
        return Failed(result, EXIT_INVALID_ARGUMENT, error);
    }
    WatchInterrupts();
    CTerminalSession session(request.model, request.year, request.timeoutSeconds);
    ExitStatus status = session.Open(port);
    if (status == EXIT_OK) status = session.Connect();
    if (status == EXIT_OK) status = RunExchange(request, clock, session, result);
    if (request.command == CliCommand::Send) result.holidaysSent = GetUploadProgress().answered;
    if (status == EXIT_INTERRUPTED) {
        const char* name = SignalName(session.Interrupted());
        const bool upload = request.command == CliCommand::Send && GetUploadProgress().total > 0;
        const std::string soFar = upload ? " (데이터 전송 " + UploadSoFar() + ")" : "";
        return Failed(
            result, EXIT_INTERRUPTED + session.Interrupted(),
            {std::string(name) + " 신호를 받아 중단했습니다" + soFar,
             std::string("interrupted by ") + name + (upload ? " after " + UploadSoFar() + " holidays" : "")});
    }
    if (status != EXIT_OK) return Failed(result, status, session.Error());
    return result;
}
