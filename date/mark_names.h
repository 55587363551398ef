// What marked days are called where they came from: the SUMMARY of the holiday file's event that
// marked one ("개교기념일"). The listing and the exports call a marked day by it; a day marked by
// hand has none and goes by its kind's name, "설정공휴일".
#pragma once

#include <string>
#include <vector>

struct MarkNames {
    // [solar month][solar day] of the year shown, as HolidaySettings::marks; UTF-8 as
    // PrintableText shows it, each name once; none for a day without a name of its own.
    std::vector<std::string> names[13][32];
};

// The one instance beside g_holidaySettings, cleared with its marks (ClearHolidayMarks).
extern MarkNames g_markNames;

// Adds `name` to the day's names, unless it is among them already.
void AddMarkName(MarkNames& names, int month, int day, const std::string& name);
// The day's names joined by ", "; empty when it has none.
std::string MarkName(const MarkNames& names, int month, int day);
