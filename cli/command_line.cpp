#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "cli/ports_file.h"
#include "ports/port_map.h"
#include "date/lunar_date.h"
#include "protocol/terminal_model.h"

namespace {

constexpr int kFirstCalendarYear = 2;

const char* const kTerminalGroup = "Commands for the terminal (need --port and --model, or --simulate)";
const char* const kOfflineGroup = "Commands without a terminal";
const char* const kFooter =
    "YEAR defaults to this year. Every terminal command connects first.\n"
    "\n"
    "Several ports (--port repeated, or --ports-file) make a fleet: the command runs on each\n"
    "terminal at once, its lines prefixed with the port, and a summary line per terminal ends it.\n"
    "\n"
    "Exit status: 0 success, 2 invalid argument (nothing sent), 3 port cannot be opened,\n"
    "4 no reply within the timeout, 5 the port went away during the exchange, 6 the terminal\n"
    "does not hold what was sent (--verify), 127 a fleet's terminal run could not start,\n"
    "130, 143, 141 after SIGINT, SIGTERM, SIGPIPE. A fleet exits with its terminals' highest.";
const char* const kCommandFooter = "The options of dorvane-cli --help go before or after the command.";

// A value that its rule refuses. Thrown out of CLI11's callbacks, so that the rule's own sentence
// reaches the operator instead of CLI11's generic one.
struct Refusal {
    CliError error;
};

[[noreturn]] void Refuse(std::string korean, std::string english)
{
    throw Refusal{{std::move(korean), std::move(english)}};
}

bool Fail(CliError& error, std::string korean, std::string english)
{
    error.korean = std::move(korean);
    error.english = std::move(english);
    return false;
}

// A whole decimal number in [min, max], nothing else around it.
bool ParseInt(const std::string& text, long min, long max, int& value)
{
    if (text.empty() || text.size() > 12) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || text[0] == ' ' || text[0] == '+' || parsed < min || parsed > max) return false;
    value = static_cast<int>(parsed);
    return true;
}

void ApplyModel(const std::string& text, CliRequest& request)
{
    request.model = ParseModelName(text);
    if (request.model < 0) {
        Refuse("모델은 " + ModelNames(" 또는 ") + " 입니다: " + text,
               "model must be " + ModelNames(" or ") + ": " + text);
    }
}

void ApplySimulate(const std::string& text, CliRequest& request)
{
    request.simulateModel = ParseModelName(text);
    if (request.simulateModel < 0) {
        Refuse("시뮬레이터 모델은 " + ModelNames(" 또는 ") + " 입니다: " + text,
               "simulated model must be " + ModelNames(" or ") + ": " + text);
    }
}

// Two names for one terminal would run two sessions on it: the same number (COM3, com3), or the
// same device under two numbers.
bool SamePort(const std::string& first, const std::string& second)
{
    CPortMap scratch;
    std::string unused;
    const int a = ParsePortArgument(first, scratch, unused);
    const std::string device = scratch.Path(a);  // before the second can take the device over
    const int b = ParsePortArgument(second, scratch, unused);
    return a == b || (!device.empty() && device == scratch.Path(b));
}

// Checked against a scratch map: the real one is filled only when the command runs. `where`
// names the file and line a port came from, or is empty.
void AddPort(const std::string& text, const std::string& where, CliRequest& request)
{
    CPortMap scratch;
    std::string korean;
    if (ParsePortArgument(text, scratch, korean) == 0) {
        Refuse(where + korean,
               where + "invalid port (COMn, /dev/PATH, tcp://HOST:PORT, or COMn= either; n 1-255): " + text);
    }
    const std::string name = PortDisplayName(text);
    for (const std::string& other : request.ports) {
        if (SamePort(other, text)) {
            Refuse(where + "같은 포트를 두 번 지정했습니다: " + name, where + "the same port is given twice: " + name);
        }
    }
    request.ports.push_back(text);
}

void ApplyPort(const std::string& text, CliRequest& request)
{
    AddPort(text, "", request);
}

void ApplyPortsFile(const std::string& path, CliRequest& request)
{
    std::vector<PortsFileEntry> entries;
    if (std::string reason; !ReadPortsFile(path, entries, reason)) {
        Refuse("포트 목록 파일을 읽을 수 없습니다: " + path + ": " + reason,
               "cannot read the ports file: " + path + ": " + reason);
    }
    if (entries.empty()) Refuse("포트 목록 파일에 포트가 없습니다: " + path, "no ports in the ports file: " + path);
    for (const PortsFileEntry& entry : entries) {
        AddPort(entry.port, path + ":" + std::to_string(entry.line) + ": ", request);
    }
    request.portsFromFile = true;
}

void ApplyTimeout(const std::string& text, CliRequest& request)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0.0 && value <= 3600.0)) {
        Refuse("대기 시간은 0 초보다 크고 3600 초 이하여야 합니다: " + text,
               "timeout must be above 0 and at most 3600 seconds: " + text);
    }
    request.timeoutSeconds = value;
}

bool ParseWeekday(const std::string& text, int& weekday)
{
    static const char* const names[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    static const char* const korean[] = {"일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일"};
    for (int i = 0; i < 7; ++i) {
        if (text == names[i] || text == korean[i]) {
            weekday = i + 1;
            return true;
        }
    }
    return ParseInt(text, 1, 7, weekday);
}

void ApplyBiweekly(const std::string& text, CliRequest& request)
{
    const auto colon = text.find(':');
    const std::string parity = colon == std::string::npos ? "" : text.substr(colon + 1);
    if ((parity != "even" && parity != "odd") || !ParseWeekday(text.substr(0, colon), request.biweeklyWeekday)) {
        Refuse("격주휴무는 요일:even 또는 요일:odd 형식입니다 (요일: 1-7 또는 sun..sat): " + text,
               "biweekly must be WEEKDAY:even or WEEKDAY:odd (WEEKDAY: 1-7 or sun..sat): " + text);
    }
    request.biweeklyUse = true;
    request.biweeklyOdd = parity == "odd";
}

void ApplyFormat(const std::string& text, CliRequest& request)
{
    static const struct {
        const char* name;
        HolidayFormat format;
    } formats[] = {{"text", HolidayFormat::Text}, {"ics", HolidayFormat::Ics}, {"json", HolidayFormat::Json}};
    for (const auto& f : formats) {
        if (text == f.name) {
            request.format = f.format;
            return;
        }
    }
    Refuse("형식은 text, ics, json 중 하나입니다: " + text, "the format is text, ics or json: " + text);
}

// MM-DD; the day is checked against the year once the year is known.
void ApplyMark(const std::string& text, CliRequest& request)
{
    DayMark mark{};
    if (text.size() != 5 || text[2] != '-' || !ParseInt(text.substr(0, 2), 1, 12, mark.month) ||
        !ParseInt(text.substr(3, 2), 1, 31, mark.day)) {
        Refuse("날짜는 MM-DD 형식이어야 합니다: " + text, "date must be MM-DD: " + text);
    }
    request.marks.push_back(mark);
}

std::string Range(int min, int max)
{
    return std::to_string(min) + "-" + std::to_string(max);
}

void ApplyYearIn(const std::string& text, int min, int max, int& year)
{
    if (ParseInt(text, min, max, year)) return;
    const std::string range = Range(min, max);
    Refuse("잘못된 연도입니다 (" + range + "): " + text, "invalid year (" + range + "): " + text);
}

void ApplyYear(const std::string& text, CliRequest& request)
{
    ApplyYearIn(text, kFirstCalendarYear, MAX_SOLAR_YEAR, request.year);
}

void ApplyTerminalYear(const std::string& text, CliRequest& request)
{
    ApplyYearIn(text, TERMINAL_FIRST_YEAR, TERMINAL_LAST_YEAR, request.year);
}

// Digits 1..7, each once, put in the order the weekday dialog produces: Monday..Saturday, Sunday.
bool ParseWeekdayDigits(const std::string& text, std::string& digits)
{
    if (text.empty() || text.size() > 7) return false;
    bool seen[8] = {};
    for (char c : text) {
        if (c < '1' || c > '7' || seen[c - '0']) return false;
        seen[c - '0'] = true;
    }
    digits.clear();
    for (int d : {2, 3, 4, 5, 6, 7, 1}) {
        if (seen[d]) digits += static_cast<char>('0' + d);
    }
    return true;
}

void ApplyWeekdayDigits(const std::string& text, CliRequest& request)
{
    if (!ParseWeekdayDigits(text, request.weekdayDigits)) {
        Refuse("요일 숫자는 1(일요일)부터 7(토요일)까지 한 번씩입니다: " + text,
               "weekday digits are 1 (Sunday) to 7 (Saturday), each at most once: " + text);
    }
}

void ApplyLoanPeriod1(const std::string& text, CliRequest& request)
{
    if (!ParseInt(text, 0, 255, request.loanPeriod1)) {
        Refuse("대출기간 #1 은 0 부터 255 까지의 정수입니다: " + text,
               "loan period #1 must be a whole number from 0 to 255: " + text);
    }
}

void ApplyLoanPeriod2(const std::string& text, CliRequest& request)
{
    if (!ParseInt(text, 0, 250, request.loanPeriod2)) {
        Refuse("대출기간 #2 는 0 부터 250 까지의 정수입니다: " + text,
               "loan period #2 must be a whole number from 0 to 250: " + text);
    }
}

// Takes one value into the request, or refuses it.
using Apply = void (*)(const std::string& value, CliRequest& request);

// One option of the tool. `apply` sees each occurrence in turn, so whether a repeat adds, replaces
// or is refused is the option's own rule.
struct ToolOption {
    const char* name;
    std::string valueName;  // empty: a flag, whose `apply` gets no value
    std::string description;
    Apply apply;
};

struct Argument {
    const char* name;
    std::string description;
    Apply apply;
    bool required;
};

struct Command {
    const char* name;
    CliCommand command;
    std::string description;
    std::vector<Argument> arguments;
};

const std::vector<ToolOption>& Options()
{
    static const std::vector<ToolOption> options = {
        {PORT_OPTION, "COMn|/dev/PATH|URL",
         "port to use; COMn=/dev/PATH or COMn=URL also maps COMn to it; repeated: every port at once", ApplyPort},
        {PORTS_FILE_OPTION, "FILE", "ports to use, one a line ('#' comments), all at once", ApplyPortsFile},
        {"--model", ModelNames("|"), "the terminal's model", ApplyModel},
        {"--simulate", ModelNames("|"), "talk to a built-in simulated terminal instead of a port", ApplySimulate},
        {"--timeout", "SECONDS", "wait this long for a silent terminal (default 5)", ApplyTimeout},
        {"--ca", "FILE.pem", "TLS ports (tcp+tls://, rfc2217+tls://) trust only these authorities",
         [](const std::string& file, CliRequest& request) { request.caFile = file; }},
        {"--unset-sunday", "", "Sundays are not holidays",
         [](const std::string&, CliRequest& request) { request.unsetSunday = true; }},
        {"--unset-holiday", "", "national holidays are not holidays",
         [](const std::string&, CliRequest& request) { request.unsetHoliday = true; }},
        {"--biweekly", "WEEKDAY:even|odd", "a day off every second week (WEEKDAY 1-7 or sun..sat)", ApplyBiweekly},
        {"--mark", "MM-DD", "a holiday set by hand (repeatable)", ApplyMark},
        {"--import", "FILE.ics", "the all-day events of an iCalendar file count as marked days (repeatable)",
         [](const std::string& file, CliRequest& request) { request.imports.push_back(file); }},
        {"--format", "text|ics|json", "holidays: the listing (default), an iCalendar file or JSON", ApplyFormat},
        {"--verify", "", "send: read the year back and list every day that differs",
         [](const std::string&, CliRequest& request) { request.verify = true; }},
    };
    return options;
}

const std::vector<Command>& Commands()
{
    static const Argument year = {"YEAR", Range(kFirstCalendarYear, MAX_SOLAR_YEAR), ApplyYear, false};
    static const Argument terminalYear = {"YEAR", Range(TERMINAL_FIRST_YEAR, TERMINAL_LAST_YEAR), ApplyTerminalYear,
                                          false};
    static const std::string zefa102Only = std::string(", ") + ModelName(MODEL_ZEFA102) + ")";
    static const std::vector<Command> commands = {
        {"ports", CliCommand::Ports, "serial ports, as COMn = device", {}},
        {"calendar", CliCommand::Calendar, "every day of YEAR with its weekday and lunar date", {year}},
        {"holidays", CliCommand::Holidays, "the holidays of YEAR and their total, as the dialog lists them", {year}},
        {"connect", CliCommand::Connect, "connect (E); the terminal answers OK", {}},
        {"set-time", CliCommand::SetTime, "set the terminal's clock to this computer's local time (T)", {}},
        {"read", CliCommand::Read, "read the terminal's holidays and list them (R)", {terminalYear}},
        {"delete", CliCommand::Delete, "clear the terminal's holidays (C)", {terminalYear}},
        {"send", CliCommand::Send, "send the holidays of YEAR, one frame per reply (D)", {terminalYear}},
        {"weekdays",
         CliCommand::Weekdays,
         "holiday weekdays DIGITS, 1 = Sunday .. 7 = Saturday (W" + zefa102Only,
         {{"DIGITS", "each weekday at most once", ApplyWeekdayDigits, true}}},
        {"loan",
         CliCommand::Loan,
         "loan periods, A 0-255 and B 0-250 (L" + zefa102Only,
         {{"A", "loan period #1", ApplyLoanPeriod1, true}, {"B", "loan period #2", ApplyLoanPeriod2, true}}},
    };
    return commands;
}

CLI::Option* AddValue(CLI::App& app, const std::string& name, const std::string& description, Apply apply,
                      CliRequest& request)
{
    return app.add_option(
        name,
        [apply, &request](const CLI::results_t& values) {
            for (const std::string& value : values) apply(value, request);
            return true;
        },
        description);
}

// Options belong to the tool, not to a command: the commands fall through to them, so that they
// may stand before or after the command.
void Describe(CLI::App& app, CliRequest& request)
{
    app.description("Sets up a " + ModelNames(" or ") + " lending terminal without a window.");
    app.footer(kFooter);
    app.set_version_flag("--version", "dorvane-cli " DORVANE_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    app.get_formatter()->column_width(33);  // the longest option and its value, and a gap
    for (const ToolOption& option : Options()) {
        if (option.valueName.empty()) {
            app.add_flag_callback(
                option.name, [&request, apply = option.apply] { apply({}, request); }, option.description);
        } else {
            AddValue(app, option.name, option.description, option.apply, request)
                ->type_name(option.valueName)
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        }
    }
    for (const Command& command : Commands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.description);
        sub->group(NeedsTerminal(command.command) ? kTerminalGroup : kOfflineGroup);
        sub->footer(kCommandFooter);
        sub->preparse_callback([&request, id = command.command](std::size_t) { request.command = id; });
        for (const Argument& argument : command.arguments) {
            AddValue(*sub, argument.name, argument.description, argument.apply, request)
                ->type_name("")
                ->required(argument.required);
        }
    }
}

// CLI11's own refusals: a Korean sentence beside CLI11's English.
CliError FromCli11(const CLI::ParseError& failure)
{
    const char* korean = "명령줄을 읽을 수 없습니다 (--help 참고)";
    if (dynamic_cast<const CLI::ExtrasError*>(&failure)) {
        korean = "알 수 없는 명령이나 옵션, 또는 남는 인수가 있습니다 (--help 참고)";
    } else if (dynamic_cast<const CLI::RequiredError*>(&failure)) {
        korean = "명령이나 인수가 빠졌습니다 (--help 참고)";
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&failure)) {
        korean = "옵션 값이 없거나 개수가 맞지 않습니다";
    } else if (dynamic_cast<const CLI::ConversionError*>(&failure)) {
        korean = "옵션 값이 올바르지 않습니다";
    }
    return {korean, failure.what()};
}

// CLI11 answers --help and checks requirements before it reports the words it could not place.
// Those words are the likelier typo, and help must not hide one, so they are reported first.
bool FailOnUnplaced(const CLI::App& app, CliError& error)
{
    std::vector<std::string> unplaced = app.remaining(true);
    if (unplaced.empty()) return false;
    std::reverse(unplaced.begin(), unplaced.end());  // CLI11 lists them back to front
    error = FromCli11(CLI::ExtrasError(unplaced));
    return true;
}

bool CheckTerminalOptions(CliRequest& request, CliError& error)
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
    } else if (request.ports.empty()) {
        return Fail(error, "--port 또는 --simulate 를 지정해야 합니다", "give --port or --simulate");
    }
    if (request.model < 0) return Fail(error, "--model 을 지정해야 합니다", "give --model");
    const bool zefa102Only = request.command == CliCommand::Weekdays || request.command == CliCommand::Loan;
    if (zefa102Only && request.model != MODEL_ZEFA102) {
        const std::string model = ModelName(MODEL_ZEFA102);
        return Fail(error, model + " 에서만 쓸 수 있는 명령입니다", "this command is for " + model + " only");
    }
    return true;
}

// --format belongs to holidays, --import to the commands that count the year's holidays,
// --verify to send.
bool CheckHolidayFileOptions(const CliRequest& request, CliError& error)
{
    if (request.format != HolidayFormat::Text && request.command != CliCommand::Holidays) {
        return Fail(error, "--format 은 holidays 명령에만 씁니다", "--format is for the holidays command only");
    }
    if (!request.imports.empty() && !CountsTheYearsHolidays(request.command)) {
        return Fail(error, "--import 는 holidays 와 send 명령에만 씁니다", "--import is for holidays and send only");
    }
    if (request.verify && request.command != CliCommand::Send) {
        return Fail(error, "--verify 는 send 명령에만 씁니다", "--verify is for the send command only");
    }
    return true;
}

bool CheckMarks(const CliRequest& request, CliError& error)
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

}  // namespace

bool CountsTheYearsHolidays(CliCommand command)
{
    return command == CliCommand::Holidays || command == CliCommand::Send;
}

void PrintCliError(const std::string& korean, const std::string& english)
{
    std::fprintf(stderr, "dorvane-cli: %s / %s\n", korean.c_str(), english.c_str());
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

std::string PortDisplayName(const std::string& port)
{
    // An '=' after a network address's scheme is the address's own.
    const std::size_t equals = port.find('=');
    return equals < port.find("://") ? port.substr(0, equals) : port;
}

bool ParseCommandLine(const std::vector<std::string>& args, int thisYear, CliRequest& request, CliError& error)
{
    request = CliRequest{};
    CLI::App app("", "dorvane-cli");
    Describe(app, request);
    std::vector<std::string> backwards(args.rbegin(), args.rend());  // CLI11 takes them from the back
    try {
        app.parse(backwards);
    } catch (const Refusal& refusal) {
        error = refusal.error;
        return false;
    } catch (const CLI::Success& done) {
        if (FailOnUnplaced(app, error)) return false;
        std::ostringstream out;
        app.exit(done, out);
        request.command = CliCommand::Help;
        request.output = out.str();
        return true;
    } catch (const CLI::ParseError& failure) {
        if (!FailOnUnplaced(app, error)) error = FromCli11(failure);
        return false;
    }
    if (request.year == 0) request.year = thisYear;
    if (NeedsTerminal(request.command) && !CheckTerminalOptions(request, error)) return false;
    if (!request.caFile.empty() && !NeedsTerminal(request.command)) {
        return Fail(error, "--ca 는 단말기 명령에만 씁니다", "--ca is for the terminal commands only");
    }
    return CheckHolidayFileOptions(request, error) && CheckMarks(request, error);
}
