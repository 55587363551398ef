#include "date/local_clock.h"

#include <ctime>

namespace {

#ifdef _WIN32
std::tm BreakDownLocal(std::time_t t)
{
    std::tm tm{};
    localtime_s(&tm, &t);
    return tm;
}
#else
std::tm BreakDownLocal(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}
#endif

}  // namespace

LocalTime ReadLocalClock()
{
    const std::tm tm = BreakDownLocal(std::time(nullptr));
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}
