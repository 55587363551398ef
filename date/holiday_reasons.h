// Why a day is a holiday, as the tooltip over a day of the calendar tells the operator: every
// rule that makes it one under the settings, not only the one that gives its colour.
#pragma once

#include <string>
#include <vector>

#include "date/holidays.h"
#include "date/mark_names.h"

class CLunarDate;

struct HolidayReason {
    int kind;            // HOLIDAY_SUNDAY .. HOLIDAY_SET: the kind this reason alone would give
    std::string detail;  // UTF-8: the holiday's name or what set it; empty for a plain Sunday
};

// The reasons in the order the rule weighs them: Sunday, the national holidays by the names
// the law gives them in that year (substitute, election and declared days included), a marked
// day (each holiday file's event that marked it, from `names`, or by hand), the biweekly day
// off. Empty for a working day. The day must have been set.
std::vector<HolidayReason> HolidayReasons(const CLunarDate& day, const HolidaySettings& settings,
                                          const MarkNames& names);

// The tooltip: the solar date with its weekday and lunar date, then one line per reason, the
// kind's own text first ("국가공휴일: 어린이날"). Other sources of reasons append theirs to the
// list before it is made into text.
std::string HolidayTipText(const CLunarDate& day, const std::vector<HolidayReason>& reasons);
