#include "date/mark_names.h"

#include <algorithm>

MarkNames g_markNames;

void AddMarkName(MarkNames& names, int month, int day, const std::string& name)
{
    std::vector<std::string>& dayNames = names.names[month][day];
    if (std::find(dayNames.begin(), dayNames.end(), name) == dayNames.end()) dayNames.push_back(name);
}

std::string MarkName(const MarkNames& names, int month, int day)
{
    std::string joined;
    for (const std::string& name : names.names[month][day]) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}
