#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "base/console_text.h"
#include "base/printable_text.h"
#include "cli/cli_platform.h"
#include "cli/fleet.h"
#include "date/lunar_date.h"
#include "date/unknown_holidays.h"
#include "protocol/terminal_model.h"

namespace {

constexpr int kFirstCalendarYear = 2;

const char* const kOfflineGroup = "Commands without a terminal";
// Then the platform's exit statuses and what it refuses (cli/cli_platform.h).
const char* const kFooter =
    "YEAR defaults to this year. Every terminal command connects first.\n"
    "\n"
    "Several ports (--port repeated, or --ports-file) make a fleet: the command runs on each\n"
    "terminal, --jobs at once, its lines prefixed with the port, and a summary line per terminal\n"
    "ends it. A ports file holds a port a line and the terminal's model after it; --model is\n"
    "the model of the lines without one.\n"
    "\n";
const char* const kCommandFooter = "The options of dorvane-cli --help go before or after the command.";

// 1 = Sunday .. 7 = Saturday; the numbers stand for themselves.
const std::map<std::string, std::string> kWeekdays = {
    {"sun", "1"},    {"mon", "2"},    {"tue", "3"},    {"wed", "4"},    {"thu", "5"},
    {"fri", "6"},    {"sat", "7"},    {"일요일", "1"}, {"월요일", "2"}, {"화요일", "3"},
    {"수요일", "4"}, {"목요일", "5"}, {"금요일", "6"}, {"토요일", "7"}};

// `send coming`: the year a terminal is to hold next, for a scheduled upload.
constexpr const char* kComingYear = "coming";

const std::map<std::string, HolidayFormat> kFormats = {
    {"text", HolidayFormat::Text}, {"ics", HolidayFormat::Ics}, {"json", HolidayFormat::Json}};

bool Fail(OperatorMessage& error, std::string korean, std::string english)
{
    error.korean = std::move(korean);
    error.english = std::move(english);
    return false;
}

// Whether a value keeps its rule; an accepted value may be put in its usual form ("010" as "10").
using Accepts = std::function<bool(std::string& value)>;

// Decimal digits only, leading zeros dropped: CLI11 alone takes "0x10" and reads "010" as octal.
Accepts WholeNumber(int min, int max)
{
    return [range = CLI::Range(min, max)](std::string& text) {
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
        text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
        return range(text).empty();
    };
}

// Seconds as a plain decimal number, "2" or "0.5": CLI11's own conversion would also take
// hexadecimal, exponents, "inf", "nan", a sign and a leading blank.
bool IsTimeout(std::string& text)
{
    static const CLI::Range range(0.1, 3600.0);
    const auto digits = [](const std::string& part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
    };
    const std::size_t point = text.find('.');
    return digits(text.substr(0, point)) && (point == std::string::npos || digits(text.substr(point + 1))) &&
           range(text).empty();
}

// WEEKDAY:even or WEEKDAY:odd, the weekday put as its number.
bool IsBiweekly(std::string& text)
{
    static const CLI::CheckedTransformer weekday(kWeekdays);
    const auto colon = text.find(':');
    std::string day = text.substr(0, colon);
    const std::string parity = colon == std::string::npos ? "" : text.substr(colon + 1);
    if (!weekday(day).empty() || (parity != "even" && parity != "odd")) return false;
    text = day + ":" + parity;
    return true;
}

// MM-DD; the day is checked against the year once the year is known.
bool IsMonthDay(std::string& text)
{
    std::string month = text.substr(0, 2);
    std::string day = text.substr(std::min<std::size_t>(3, text.size()));
    return text.size() == 5 && text[2] == '-' && WholeNumber(1, 12)(month) && WholeNumber(1, 31)(day);
}

// Digits 1..7, each once, put in the order the weekday dialog produces: Monday..Saturday, Sunday.
bool IsWeekdayDigits(std::string& text)
{
    std::string ordered;
    for (const char digit : std::string("2345671")) {
        if (std::count(text.begin(), text.end(), digit) == 1) ordered += digit;
    }
    if (text.empty() || ordered.size() != text.size()) return false;  // another character, or one twice
    text = ordered;
    return true;
}

// CLI11's group of an option: its usual one, or none, which leaves it out of the help, for what
// this build refuses.
std::string Shown(bool inThisBuild)
{
    return inThisBuild ? "Options" : "";
}

// As often as given, one value each time: CLI11's vectors would also take the words after it.
CLI::Option* Repeatable(CLI::Option* option)
{
    return option->expected(1)->allow_extra_args(false)->take_all();
}

// From 1 December the next year; but a ZEFA-101 files every day it is sent under its clock's
// year, so for it always this year.
int ComingYear(const LocalTime& now, int model)
{
    return now.month == 12 && model != MODEL_ZEFA101 ? now.year + 1 : now.year;
}

// `where` names the port in a fleet's message ("COM3: "), or is empty.
bool CheckModel(CliCommand command, int model, const std::string& where, OperatorMessage& error)
{
    if (model < 0) return Fail(error, "--model 을 지정해야 합니다", "give --model");
    if ((command == CliCommand::Weekdays || command == CliCommand::Loan) && model != MODEL_ZEFA102) {
        const std::string name = ModelName(MODEL_ZEFA102);
        return Fail(error, where + name + " 에서만 쓸 수 있는 명령입니다",
                    where + "this command is for " + name + " only");
    }
    return true;
}

bool CheckTerminalOptions(CliRequest& request, OperatorMessage& error)
{
    if (request.simulateModel >= 0) {
        if (!request.ports.empty()) {
            return Fail(error, "--port 와 --simulate 는 함께 쓸 수 없습니다",
                        "--port and --simulate cannot be used together");
        }
        if (request.model >= 0 && request.model != request.simulateModel) {
            return Fail(error, "--model 과 --simulate 의 모델이 다릅니다",
                        "--model and --simulate name different models");
        }
        request.model = request.simulateModel;
        return CheckModel(request.command, request.model, "", error);
    }
    if (request.ports.empty()) return Fail(error, CLI_PLATFORM.noPort.korean, CLI_PLATFORM.noPort.english);
    for (const GivenPort& port : request.ports) {
        const std::string where = IsFleet(request) ? PortDisplayName(port.port) + ": " : "";
        if (!CheckModel(request.command, port.model, where, error)) return false;
    }
    return true;
}

bool CheckMarks(const CliRequest& request, OperatorMessage& error)
{
    for (const DayMark& mark : request.marks) {
        if (!IsValidDate(request.year, mark.month, mark.day, CAL_SOLAR, 0)) {
            char text[16];
            std::snprintf(text, sizeof text, "%02d-%02d", mark.month, mark.day);
            return Fail(error, std::to_string(request.year) + "년에 없는 날짜입니다: " + text,
                        "no such date in " + std::to_string(request.year) + ": " + text);
        }
    }
    return true;
}

// A year whose lunar holidays cannot be found goes to a terminal only when the operator says so.
bool CheckLunarHolidays(const CliRequest& request, OperatorMessage& error)
{
    if (request.command != CliCommand::Send || request.withoutLunar || !LunarHolidaysUnknown(request.year)) {
        return true;
    }
    const OperatorMessage note = UnknownHolidayNotes(request.year).front();
    return Fail(error, note.korean + " 그대로 보내려면 --without-lunar 를 붙이십시오.",
                note.english + "; to send the year as it is, add --without-lunar");
}

// dorvane-cli's options and commands in CLI11. The options that name the terminal belong to the
// tool and may stand before or after the command (fallthrough); the others to their commands.
class CommandLine {
public:
    explicit CommandLine(CliRequest& request);
    bool Parse(const std::vector<std::string>& args, const LocalTime& now, OperatorMessage& error);

private:
    CLI::Validator Rule(const std::string& korean, const std::string& english, Accepts accepts);
    void AddTerminalOptions();
    CLI::Option* AddModel(const char* name, int& model, const char* description, const std::string& korean,
                          const std::string& english);
    CLI::App* AddCommand(const char* name, CliCommand command, const std::string& description);
    void AddYear(CLI::App* command, int min, int max, bool coming = false);
    void AddHolidayOptions(CLI::App* command);
    OperatorMessage FromCli11(const CLI::ParseError& failure) const;
    bool FailOnUnplaced(OperatorMessage& error) const;

    CliRequest& m_request;
    CLI::App m_app{"", "dorvane-cli"};
    std::vector<std::string> m_portOptions;
    std::vector<std::string> m_portsFiles;
    bool m_comingYear = false;      // send coming
    std::string m_refusedInKorean;  // a rule's refusal: CLI11's error carries only the English
};

CommandLine::CommandLine(CliRequest& request) : m_request(request)
{
    m_app.description("Sets up a " + ModelNames(" or ") + " lending terminal without a window.");
    m_app.footer(std::string(kFooter) + CLI_PLATFORM.exitStatus + CLI_PLATFORM.notHere);
    m_app.set_version_flag("--version", "dorvane-cli " DORVANE_VERSION);
    m_app.require_subcommand(1);
    m_app.fallthrough();
    m_app.get_formatter()->column_width(33);  // the longest option and its value, and a gap
    m_app.option_defaults()->take_last();     // as ever, the last of a repeated option stands
    AddTerminalOptions();

    CLI::App* ports = AddCommand("ports", CliCommand::Ports, "serial ports, as COMn = device");
    CLI::App* calendar =
        AddCommand("calendar", CliCommand::Calendar, "every day of YEAR with its weekday and lunar date");
    CLI::App* holidays =
        AddCommand("holidays", CliCommand::Holidays, "the holidays of YEAR and their total, as the dialog lists them");
    for (CLI::App* offline : {ports, calendar, holidays}) {
        for (const char* option : {"--ca", JOBS_OPTION, REPORT_OPTION}) offline->excludes(m_app.get_option(option));
    }
    AddYear(calendar, kFirstCalendarYear, MAX_SOLAR_YEAR);
    AddYear(holidays, kFirstCalendarYear, MAX_SOLAR_YEAR);
    AddHolidayOptions(holidays);
    holidays
        ->add_option_function<std::string>(
            "--format", [this](const std::string& name) { m_request.format = kFormats.at(name); },
            "holidays: the listing (default), an iCalendar file or JSON")
        ->group(Shown(CLI_PLATFORM.holidayFiles))
        ->type_name("text|ics|json")
        ->check(Rule("형식은 text, ics, json 중 하나입니다", "the format is text, ics or json",
                     [formats = CLI::IsMember(kFormats)](std::string& name) { return formats(name).empty(); }));

    AddCommand("connect", CliCommand::Connect, "connect (E); the terminal answers OK");
    AddCommand("set-time", CliCommand::SetTime, "set the terminal's clock to this computer's local time (T)");
    AddYear(AddCommand("read", CliCommand::Read, "read the terminal's holidays and list them (R)"), TERMINAL_FIRST_YEAR,
            TERMINAL_LAST_YEAR);
    AddYear(AddCommand("delete", CliCommand::Delete, "clear the terminal's holidays (C)"), TERMINAL_FIRST_YEAR,
            TERMINAL_LAST_YEAR);
    CLI::App* send = AddCommand("send", CliCommand::Send, "send the holidays of YEAR, one frame per reply (D)");
    AddYear(send, TERMINAL_FIRST_YEAR, TERMINAL_LAST_YEAR, true);
    AddHolidayOptions(send);
    send->add_flag("--verify", m_request.verify, "send: read the year back and list every day that differs");
    send->add_flag("--without-lunar", m_request.withoutLunar,
                   "send: a year outside the lunar table, without its lunar holidays");

    const std::string zefa102Only = std::string(", ") + ModelName(MODEL_ZEFA102) + ")";
    AddCommand("weekdays", CliCommand::Weekdays, "holiday weekdays DIGITS, 1 = Sunday .. 7 = Saturday (W" + zefa102Only)
        ->add_option("DIGITS", m_request.weekdayDigits, "each weekday at most once")
        ->type_name("")
        ->required()
        ->transform(Rule("요일 숫자는 1(일요일)부터 7(토요일)까지 한 번씩입니다",
                         "weekday digits are 1 (Sunday) to 7 (Saturday), each at most once", IsWeekdayDigits));
    CLI::App* loan = AddCommand("loan", CliCommand::Loan, "loan periods, A 0-255 and B 0-250 (L" + zefa102Only);
    loan->add_option("A", m_request.loanPeriod1, "loan period #1")
        ->type_name("")
        ->required()
        ->transform(Rule("대출기간 #1 은 0 부터 255 까지의 정수입니다",
                         "loan period #1 must be a whole number from 0 to 255", WholeNumber(0, 255)));
    loan->add_option("B", m_request.loanPeriod2, "loan period #2")
        ->type_name("")
        ->required()
        ->transform(Rule("대출기간 #2 는 0 부터 250 까지의 정수입니다",
                         "loan period #2 must be a whole number from 0 to 250", WholeNumber(0, 250)));
}

// A validator that refuses with one sentence in each language, the value after it. It has no
// description, so the help shows each value by its own name as before.
CLI::Validator CommandLine::Rule(const std::string& korean, const std::string& english, Accepts accepts)
{
    return CLI::Validator(
        [=, this](std::string& value) {
            const std::string given = value;
            if (accepts(value)) return std::string();
            m_refusedInKorean = korean + ": " + given;
            return english + ": " + given;
        },
        "");
}

void CommandLine::AddTerminalOptions()
{
    Repeatable(m_app.add_option(PORT_OPTION, m_portOptions, CLI_PLATFORM.portDescription))
        ->type_name(CLI_PLATFORM.portValue);
    Repeatable(m_app.add_option(PORTS_FILE_OPTION, m_portsFiles,
                                "a fleet's ports, one a line, each with its model or --model's ('#' comments)"))
        ->type_name("FILE");
    AddModel(MODEL_OPTION, m_request.model, "the terminal's model", "모델은 ", "model must be ");
    m_app.add_option(JOBS_OPTION, m_request.jobs, "a fleet runs at most N terminals at once (default 16)")
        ->type_name("N")
        ->transform(Rule("동시 실행 수는 1 부터 1000 까지의 정수입니다", "jobs must be a whole number from 1 to 1000",
                         WholeNumber(1, 1000)));
    m_app.add_option(REPORT_OPTION, m_request.reportPath, "write what came of each terminal to FILE as JSON")
        ->group(Shown(CLI_PLATFORM.report))
        ->type_name("FILE")
        ->check(Rule("보고서 파일 이름이 비어 있습니다", "the report file name is empty",
                     [](std::string& path) { return !path.empty(); }));
    AddModel("--simulate", m_request.simulateModel, "talk to a built-in simulated terminal instead of a port",
             "시뮬레이터 모델은 ", "simulated model must be ")
        ->group(Shown(CLI_PLATFORM.simulator));
    m_app.add_option("--timeout", m_request.timeoutSeconds, "wait this long for a silent terminal (default 5)")
        ->type_name("SECONDS")
        ->check(Rule("대기 시간은 0.1 부터 3600 까지의 초 단위 십진수입니다 (예: 0.5)",
                     "timeout must be a plain decimal number of seconds from 0.1 to 3600 (e.g. 0.5)", IsTimeout));
    m_app.add_option("--ca", m_request.caFile, "TLS ports (tcp+tls://, rfc2217+tls://) trust only these authorities")
        ->group(Shown(CLI_PLATFORM.networkPorts))
        ->type_name("FILE.pem");
    m_app.add_option(RESULT_FD_OPTION, m_request.resultFd)
        ->group("")
        ->check(Rule("결과 파일 기술자가 올바르지 않습니다", "the result file descriptor is not valid",
                     WholeNumber(0, 1 << 20)));
}

CLI::Option* CommandLine::AddModel(const char* name, int& model, const char* description, const std::string& korean,
                                   const std::string& english)
{
    return m_app
        .add_option_function<std::string>(
            name, [&model](const std::string& text) { model = ParseModelName(text); }, description)
        ->type_name(ModelNames("|"))
        ->check(Rule(korean + ModelNames(" 또는 ") + " 입니다", english + ModelNames(" or "),
                     [](std::string& text) { return ParseModelName(text) >= 0; }));
}

CLI::App* CommandLine::AddCommand(const char* name, CliCommand command, const std::string& description)
{
    CLI::App* sub = m_app.add_subcommand(name, description);
    sub->group(NeedsTerminal(command) ? CLI_PLATFORM.terminalGroup : kOfflineGroup);
    sub->footer(kCommandFooter);
    sub->preparse_callback([this, command, name](std::size_t) {
        m_request.command = command;
        m_request.commandName = name;
    });
    return sub;
}

void CommandLine::AddYear(CLI::App* command, int min, int max, bool coming)
{
    const std::string range = std::to_string(min) + "-" + std::to_string(max);
    std::string korean = range;
    std::string english = range;
    std::string description = range;
    Accepts year = WholeNumber(min, max);
    if (coming) {
        korean += std::string(" 또는 ") + kComingYear;
        english += std::string(" or ") + kComingYear;
        description += std::string(", or ") + kComingYear + ": from 1 December the next (a ZEFA-101 always this year)";
        year = [this, number = year](std::string& text) {
            m_comingYear = text == kComingYear;
            if (m_comingYear) text = "0";  // this year for now; the model decides after the parse
            return m_comingYear || number(text);
        };
    }
    command->add_option("YEAR", m_request.year, description)
        ->type_name("")
        ->transform(Rule("잘못된 연도입니다 (" + korean + ")", "invalid year (" + english + ")", year));
}

// holidays and send: the options that change which days of the year are holidays.
void CommandLine::AddHolidayOptions(CLI::App* command)
{
    command->add_flag("--unset-sunday", m_request.unsetSunday, "Sundays are not holidays");
    command->add_flag("--unset-holiday", m_request.unsetHoliday, "national holidays are not holidays");
    command
        ->add_option_function<std::string>(
            "--biweekly",
            [this](const std::string& text) {
                m_request.biweeklyUse = true;
                m_request.biweeklyWeekday = text[0] - '0';
                m_request.biweeklyOdd = text.ends_with(":odd");
            },
            "a day off every second week (WEEKDAY 1-7 or sun..sat)")
        ->type_name("WEEKDAY:even|odd")
        ->transform(Rule("격주휴무는 요일:even 또는 요일:odd 형식입니다 (요일: 1-7 또는 sun..sat)",
                         "biweekly must be WEEKDAY:even or WEEKDAY:odd (WEEKDAY: 1-7 or sun..sat)", IsBiweekly));
    command->add_option("--mark", "a holiday set by hand (repeatable)")
        ->type_name("MM-DD")
        ->take_all()
        ->check(Rule("날짜는 MM-DD 형식이어야 합니다", "date must be MM-DD", IsMonthDay))
        ->each([this](const std::string& text) {
            m_request.marks.push_back({std::atoi(text.c_str()), std::atoi(text.c_str() + 3)});
        });
    Repeatable(command->add_option("--import", m_request.imports,
                                   "the all-day events of an iCalendar file count as marked days (repeatable)"))
        ->group(Shown(CLI_PLATFORM.holidayFiles))
        ->type_name("FILE.ics");
}

// CLI11's own refusals: a Korean sentence beside CLI11's English.
OperatorMessage CommandLine::FromCli11(const CLI::ParseError& failure) const
{
    std::string korean = "명령줄을 읽을 수 없습니다 (--help 참고)";
    if (dynamic_cast<const CLI::ExtrasError*>(&failure)) {
        korean = "알 수 없는 명령이나 옵션, 또는 남는 인수가 있습니다 (--help 참고)";
    } else if (dynamic_cast<const CLI::RequiredError*>(&failure)) {
        korean = "명령이나 인수가 빠졌습니다 (--help 참고)";
    } else if (dynamic_cast<const CLI::ExcludesError*>(&failure)) {
        korean = "이 명령에는 쓸 수 없는 옵션입니다 (--help 참고)";
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&failure)) {
        korean = "옵션 값이 없거나 개수가 맞지 않습니다";
    } else if (dynamic_cast<const CLI::ValidationError*>(&failure)) {
        korean = m_refusedInKorean;
    } else if (dynamic_cast<const CLI::ConversionError*>(&failure)) {
        korean = "옵션 값이 올바르지 않습니다";
    }
    return {korean, failure.what()};
}

// CLI11 answers --help and checks requirements before it reports the words it could not place.
// Those words are the likelier typo, and help must not hide one, so they are reported first.
bool CommandLine::FailOnUnplaced(OperatorMessage& error) const
{
    std::vector<std::string> unplaced = m_app.remaining(true);
    if (unplaced.empty()) return false;
    std::reverse(unplaced.begin(), unplaced.end());  // CLI11 lists them back to front
    error = FromCli11(CLI::ExtrasError(unplaced));
    return true;
}

bool CommandLine::Parse(const std::vector<std::string>& args, const LocalTime& now, OperatorMessage& error)
{
    std::vector<std::string> backwards(args.rbegin(), args.rend());  // CLI11 takes them from the back
    try {
        m_app.parse(backwards);
    } catch (const CLI::Success& done) {
        if (FailOnUnplaced(error)) return false;
        std::ostringstream out;
        m_app.exit(done, out);
        m_request.command = CliCommand::Help;
        m_request.output = out.str();
        return true;
    } catch (const CLI::ParseError& failure) {
        if (!FailOnUnplaced(error)) error = FromCli11(failure);
        return false;
    }
    const bool terminal = NeedsTerminal(m_request.command);
    if (!CollectPorts(m_portOptions, m_portsFiles, m_request.model, terminal, m_request.ports, error)) return false;
    m_request.portsFromFile = !m_portsFiles.empty();
    if (terminal && !CheckTerminalOptions(m_request, error)) return false;
    // A fleet of both models takes this year's and the next: its runs say which each took.
    if (m_comingYear) m_request.year = ComingYear(now, m_request.model);
    if (m_request.year == 0) m_request.year = now.year;
    return CheckMarks(m_request, error) && CheckLunarHolidays(m_request, error);
}

}  // namespace

bool CountsTheYearsHolidays(CliCommand command)
{
    return command == CliCommand::Holidays || command == CliCommand::Send;
}

void PrintCliError(const OperatorMessage& message)
{
    WriteText(stderr, "dorvane-cli: " + PrintableText(message.korean) + " / " + PrintableText(message.english) + "\n");
}

bool NeedsTerminal(CliCommand command)
{
    switch (command) {
    case CliCommand::Connect:
    case CliCommand::SetTime:
    case CliCommand::Read:
    case CliCommand::Delete:
    case CliCommand::Send:
    case CliCommand::Weekdays:
    case CliCommand::Loan: return true;
    default: return false;
    }
}

bool ParseCommandLine(const std::vector<std::string>& args, const LocalTime& now, CliRequest& request,
                      OperatorMessage& error)
{
    request = CliRequest{};
    return CommandLine(request).Parse(args, now, error);
}
