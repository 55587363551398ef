// What the operator asked dorvane-cli to do, parsed and checked before anything is sent.
#pragma once

#include <string>
#include <vector>

#include "base/operator_message.h"
#include "cli/given_ports.h"
#include "date/local_clock.h"

enum class CliCommand {
    Help,  // --help or --version: print CliRequest::output
    Ports,
    Calendar,
    Holidays,
    Connect,
    SetTime,
    Read,
    Delete,
    Send,
    Weekdays,
    Loan,
};

// The options a fleet keeps to itself: each of its runs is given one port and its model instead,
// and the fleet alone runs the jobs and writes the report.
inline constexpr const char* PORT_OPTION = "--port";
inline constexpr const char* PORTS_FILE_OPTION = "--ports-file";
inline constexpr const char* MODEL_OPTION = "--model";
inline constexpr const char* JOBS_OPTION = "--jobs";
inline constexpr const char* REPORT_OPTION = "--report";
// Given by a fleet to each of its runs, not by hand (not in the help): the file descriptor on
// which the run reports what came of it (cli/child_processes.h); on Windows the value of the pipe
// handle the run inherited.
inline constexpr const char* RESULT_FD_OPTION = "--result-fd";

struct DayMark {
    int month, day;
};

// How `holidays` writes the year: the dialog's listing, or a file for other programs.
enum class HolidayFormat { Text, Ics, Json };

struct CliRequest {
    CliCommand command = CliCommand::Help;
    std::string commandName;  // as typed: "send"
    std::string output;  // Help: the help text or the version line
    int year = 0;        // this year unless given; `send coming` as ComingYear says
    // Those of --port, then those of --ports-file. Several make a fleet: the command runs on
    // every one, --jobs at once.
    std::vector<GivenPort> ports;
    bool portsFromFile = false;  // --ports-file: a fleet even with one port, so its output is alike
    int jobs = 16;               // a fleet's runs at most at once
    std::string reportPath;      // --report: the JSON file of what came of each terminal; empty: none
    int resultFd = -1;           // --result-fd: a fleet's run; -1: none
    int model = -1;              // 0 = ZEFA-101, 1 = ZEFA-102, -1 = not given
    int simulateModel = -1;      // as model; -1 = no simulator
    double timeoutSeconds = 5.0;
    std::string caFile;  // TLS network ports trust only the authorities in it; empty: the system's
    bool unsetSunday = false;
    bool unsetHoliday = false;
    bool biweeklyUse = false;
    int biweeklyWeekday = 1;  // 1 = Sunday .. 7 = Saturday
    bool biweeklyOdd = false;
    std::vector<DayMark> marks;
    HolidayFormat format = HolidayFormat::Text;
    std::vector<std::string> imports;  // iCalendar files whose days count as marked
    bool verify = false;               // send: read the year back and compare
    bool withoutLunar = false;         // send: a year whose lunar holidays cannot be found, knowingly
    std::string weekdayDigits;         // in the weekday dialog's order: 2..7, then 1
    int loanPeriod1 = 0;
    int loanPeriod2 = 0;
};

// holidays and send: the commands that count the year's holidays, and so read the holiday files.
bool CountsTheYearsHolidays(CliCommand command);

// How the tool says a failure or a warning: one line on standard error, Korean then English.
void PrintCliError(const OperatorMessage& message);

// Fills `request` from argv (without the program name), or fills `error` and returns false.
// `now` completes commands given no year, so that a --mark of 29 February is checked against the
// right year.
bool ParseCommandLine(const std::vector<std::string>& args, const LocalTime& now, CliRequest& request,
                      OperatorMessage& error);

// True for the commands that talk to a terminal.
bool NeedsTerminal(CliCommand command);
