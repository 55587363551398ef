#include "protocol/frames.h"

#include <cstdio>

#include "comm/framing.h"
#include "date/lunar_date.h"
#include "protocol/terminal_model.h"

namespace {

// Room for the widest frame (T) even with every field at the widest int.
template <class... Args>
std::string Format(const char* format, Args... args)
{
    char frame[128];
    std::snprintf(frame, sizeof frame, format, args...);
    return frame;
}

}  // namespace

std::string FrameConnect(int model)
{
    if (model == MODEL_ZEFA101) return Format("#E%c%c", CR, LF);
    return Format("%cE%c", STX, ETX);
}

std::string FrameSetTime(int model, const LocalTime& now)
{
    const int weekday = DayOfWeek(now.year, now.month, now.day);
    if (model == MODEL_ZEFA101) {
        return Format("#T%02d%02d%02d%d%02d%02d%c%c", now.year - 2000, now.month, now.day, weekday, now.hour,
                      now.minute, CR, LF);
    }
    return Format("%cT%02d%02d%02d%d%02d%02d%02d%c", STX, now.year - 2000, now.month, now.day, weekday, now.hour,
                  now.minute, now.second, ETX);
}

std::string FrameRead(int model, int year)
{
    if (model == MODEL_ZEFA101) return Format("#R%c%c", CR, LF);
    return Format("%cR%02d%c", STX, year - 2000, ETX);
}

std::string FrameDelete(int model, int year)
{
    if (model == MODEL_ZEFA101) return Format("#C%c%c", CR, LF);
    return Format("%cC%02d%c", STX, year - 2000, ETX);
}

std::string FrameHoliday(int model, const SendRecord& record)
{
    if (model == MODEL_ZEFA101) return Format("#D%02d%02d%c%c", record.month, record.day, CR, LF);
    return Format("%cD%02d%02d%02d%c", STX, record.year, record.month, record.day, ETX);
}

std::string FrameWeekdays(const std::string& digits)
{
    return std::string(1, STX) + "W" + digits + std::string(1, ETX);
}

std::string FrameLoanPeriods(int first, int second)
{
    return Format("%cL%03d%03d%c", STX, first, second, ETX);
}
