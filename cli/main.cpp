// dorvane-cli: the terminal's calendar work without a window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/calendar_listing.h"
#include "cli/exit_status.h"
#include "date/local_clock.h"
#include "date/lunar_date.h"

namespace {

void PrintUsage(std::FILE* out)
{
    std::fputs("사용법: dorvane-cli COMMAND [ARGS]\n"
               "usage: dorvane-cli COMMAND [ARGS]\n"
               "\n"
               "  calendar [YEAR]   every day of YEAR (default: this year) with its weekday\n"
               "                    and its Korean lunar date, one line a day\n"
               "  --help            this text\n",
               out);
}

int Fail(const std::string& korean, const std::string& english)
{
    std::fprintf(stderr, "dorvane-cli: %s / %s\n", korean.c_str(), english.c_str());
    return EXIT_INVALID_ARGUMENT;
}

// Whole decimal year the calendar can show, or 0.
int ParseYear(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 2 || value > MAX_SOLAR_YEAR) return 0;
    return static_cast<int>(value);
}

int RunCalendar(int argc, char** argv)
{
    int year = ReadLocalClock().year;
    if (argc > 3) return Fail("인수가 너무 많습니다", "too many arguments");
    if (argc == 3) {
        year = ParseYear(argv[2]);
        if (year == 0) {
            return Fail(std::string("잘못된 연도입니다: ") + argv[2], std::string("invalid year: ") + argv[2]);
        }
    }
    PrintCalendar(year, stdout);
    return EXIT_OK;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return EXIT_INVALID_ARGUMENT;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        PrintUsage(stdout);
        return EXIT_OK;
    }
    if (command == "calendar") return RunCalendar(argc, argv);
    return Fail("알 수 없는 명령입니다: " + command, "unknown command: " + command);
}
