#include "cli/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <map>

#include "comm/port_map.h"
#include "date/lunar_date.h"
#include "protocol/terminal_model.h"

namespace {

// Year fields of the terminal's frames are year - 2000 in at least two digits.
constexpr int kFirstTerminalYear = 2000;
constexpr int kLastTerminalYear = 9999;

struct CommandInfo {
    CliCommand command;
    int minArgs, maxArgs;
};

const std::map<std::string, CommandInfo>& Commands()
{
    static const std::map<std::string, CommandInfo> commands = {
        {"ports", {CliCommand::Ports, 0, 0}},       {"calendar", {CliCommand::Calendar, 0, 1}},
        {"holidays", {CliCommand::Holidays, 0, 1}}, {"connect", {CliCommand::Connect, 0, 0}},
        {"set-time", {CliCommand::SetTime, 0, 0}},  {"read", {CliCommand::Read, 0, 1}},
        {"delete", {CliCommand::Delete, 0, 1}},     {"send", {CliCommand::Send, 0, 1}},
        {"weekdays", {CliCommand::Weekdays, 1, 1}}, {"loan", {CliCommand::Loan, 2, 2}},
    };
    return commands;
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

bool ParseModel(const std::string& text, int& model)
{
    model = ParseModelName(text);
    return model >= 0;
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

bool ParseBiweekly(const std::string& text, CliRequest& request)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    const std::string parity = text.substr(colon + 1);
    if (parity != "even" && parity != "odd") return false;
    if (!ParseWeekday(text.substr(0, colon), request.biweeklyWeekday)) return false;
    request.biweeklyUse = true;
    request.biweeklyOdd = parity == "odd";
    return true;
}

// MM-DD; the day is checked against the year once the year is known.
bool ParseMark(const std::string& text, DayMark& mark)
{
    if (text.size() != 5 || text[2] != '-') return false;
    return ParseInt(text.substr(0, 2), 1, 12, mark.month) && ParseInt(text.substr(3, 2), 1, 31, mark.day);
}

// Checked against a scratch map: the real one is filled only when the command runs.
bool ParsePort(const std::string& text, CliRequest& request, CliError& error)
{
    if (!request.port.empty()) return Fail(error, "--port 는 한 번만 쓸 수 있습니다", "--port may be given once");
    CPortMap scratch;
    std::string korean;
    if (ParsePortArgument(text, scratch, korean) == 0) {
        return Fail(error, korean, "invalid port (COMn, COMn=/dev/PATH or /dev/PATH, n 1-255): " + text);
    }
    request.port = text;
    return true;
}

bool ParseTimeout(const std::string& text, double& seconds)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0.0 && value <= 3600.0)) return false;
    seconds = value;
    return true;
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

bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
               CliError& error)
{
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) return Fail(error, name + " 옵션에 값이 없습니다", "option " + name + " needs a value");
    value = args[++i];
    return true;
}

bool OptionIs(const std::string& arg, const char* name)
{
    const std::string n = name;
    return arg == n || (arg.size() > n.size() && arg.compare(0, n.size(), n) == 0 && arg[n.size()] == '=');
}

bool ParseOption(const std::vector<std::string>& args, size_t& i, CliRequest& request, CliError& error)
{
    const std::string& arg = args[i];
    std::string value;
    if (OptionIs(arg, "--port")) return TakeValue(args, i, "--port", value, error) && ParsePort(value, request, error);
    if (arg == "--unset-sunday") {
        request.unsetSunday = true;
        return true;
    }
    if (arg == "--unset-holiday") {
        request.unsetHoliday = true;
        return true;
    }
    struct ValueOption {
        const char* name;
        bool (*apply)(const std::string&, CliRequest&);
        const char* korean;
        const char* english;
    };
    static const ValueOption options[] = {
        {"--model", [](const std::string& v, CliRequest& r) { return ParseModel(v, r.model); },
         "모델은 ZEFA-101 또는 ZEFA-102 입니다", "model must be ZEFA-101 or ZEFA-102"},
        {"--simulate", [](const std::string& v, CliRequest& r) { return ParseModel(v, r.simulateModel); },
         "시뮬레이터 모델은 ZEFA-101 또는 ZEFA-102 입니다", "simulated model must be ZEFA-101 or ZEFA-102"},
        {"--timeout", [](const std::string& v, CliRequest& r) { return ParseTimeout(v, r.timeoutSeconds); },
         "대기 시간은 0 초보다 크고 3600 초 이하여야 합니다", "timeout must be above 0 and at most 3600 seconds"},
        {"--biweekly", [](const std::string& v, CliRequest& r) { return ParseBiweekly(v, r); },
         "격주휴무는 요일:even 또는 요일:odd 형식입니다 (요일: 1-7 또는 sun..sat)",
         "biweekly must be WEEKDAY:even or WEEKDAY:odd (WEEKDAY: 1-7 or sun..sat)"},
        {"--mark",
         [](const std::string& v, CliRequest& r) {
             DayMark mark{};
             if (!ParseMark(v, mark)) return false;
             r.marks.push_back(mark);
             return true;
         },
         "날짜는 MM-DD 형식이어야 합니다", "date must be MM-DD"},
    };
    for (const ValueOption& option : options) {
        if (!OptionIs(arg, option.name)) continue;
        if (!TakeValue(args, i, option.name, value, error)) return false;
        if (!option.apply(value, request)) {
            return Fail(error, std::string(option.korean) + ": " + value, std::string(option.english) + ": " + value);
        }
        return true;
    }
    return Fail(error, "알 수 없는 옵션입니다: " + arg, "unknown option: " + arg);
}

bool ParseYearArgument(const std::string& text, bool forTerminal, int& year, CliError& error)
{
    const int min = forTerminal ? kFirstTerminalYear : 2;
    const int max = forTerminal ? kLastTerminalYear : MAX_SOLAR_YEAR;
    if (ParseInt(text, min, max, year)) return true;
    return Fail(error, "잘못된 연도입니다 (" + std::to_string(min) + "-" + std::to_string(max) + "): " + text,
                "invalid year (" + std::to_string(min) + "-" + std::to_string(max) + "): " + text);
}

bool ParseArguments(const std::vector<std::string>& positional, CliRequest& request, CliError& error)
{
    const bool terminal = NeedsTerminal(request.command);
    switch (request.command) {
    case CliCommand::Weekdays:
        if (!ParseWeekdayDigits(positional[0], request.weekdayDigits)) {
            return Fail(error, "요일 숫자는 1(일요일)부터 7(토요일)까지 한 번씩입니다: " + positional[0],
                        "weekday digits are 1 (Sunday) to 7 (Saturday), each at most once: " + positional[0]);
        }
        return true;
    case CliCommand::Loan:
        if (!ParseInt(positional[0], 0, 255, request.loanPeriod1)) {
            return Fail(error, "대출기간 #1 은 0 부터 255 까지의 정수입니다: " + positional[0],
                        "loan period #1 must be a whole number from 0 to 255: " + positional[0]);
        }
        if (!ParseInt(positional[1], 0, 250, request.loanPeriod2)) {
            return Fail(error, "대출기간 #2 는 0 부터 250 까지의 정수입니다: " + positional[1],
                        "loan period #2 must be a whole number from 0 to 250: " + positional[1]);
        }
        return true;
    default:
        if (!positional.empty()) return ParseYearArgument(positional[0], terminal, request.year, error);
        return true;
    }
}

bool CheckTerminalOptions(CliRequest& request, CliError& error)
{
    if (request.simulateModel >= 0) {
        if (request.model >= 0 && request.model != request.simulateModel) {
            return Fail(error, "--model 과 --simulate 의 모델이 다릅니다", "--model and --simulate name different models");
        }
        request.model = request.simulateModel;
    } else if (request.port.empty()) {
        return Fail(error, "--port 또는 --simulate 를 지정해야 합니다", "give --port or --simulate");
    }
    if (request.model < 0) return Fail(error, "--model 을 지정해야 합니다", "give --model");
    const bool zefa102Only = request.command == CliCommand::Weekdays || request.command == CliCommand::Loan;
    if (zefa102Only && request.model != 1) {
        return Fail(error, "ZEFA-102 에서만 쓸 수 있는 명령입니다", "this command is for ZEFA-102 only");
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

bool ParseCommandLine(const std::vector<std::string>& args, int thisYear, CliRequest& request, CliError& error)
{
    request = CliRequest{};
    std::vector<std::string> positional;
    bool help = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            help = true;
        } else if (args[i].size() > 1 && args[i][0] == '-' && !(args[i][1] >= '0' && args[i][1] <= '9')) {
            if (!ParseOption(args, i, request, error)) return false;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (help) {
        request.command = CliCommand::Help;
        return true;
    }
    if (positional.empty()) return Fail(error, "명령이 없습니다 (--help 참고)", "no command given (see --help)");
    const auto found = Commands().find(positional[0]);
    if (found == Commands().end()) {
        return Fail(error, "알 수 없는 명령입니다: " + positional[0], "unknown command: " + positional[0]);
    }
    const CommandInfo& info = found->second;
    request.command = info.command;
    positional.erase(positional.begin());
    const int count = static_cast<int>(positional.size());
    if (count < info.minArgs || count > info.maxArgs) {
        return Fail(error, found->first + " 명령의 인수 개수가 맞지 않습니다",
                    "wrong number of arguments for " + found->first);
    }
    if (!ParseArguments(positional, request, error)) return false;
    if (request.year == 0) request.year = thisYear;
    if (NeedsTerminal(request.command) && !CheckTerminalOptions(request, error)) return false;
    return CheckMarks(request, error);
}
