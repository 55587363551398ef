#include "date/mark_names.h"

#include <algorithm>

MarkNames g_markNames;

void AddMarkName(MarkNames& names, int month, int day, const std::string& name, const std::string& file)
{
    std::vector<MarkOrigin>& origins = names.origins[month][day];
    const MarkOrigin origin{name, file};
    if (std::find(origins.begin(), origins.end(), origin) == origins.end()) origins.push_back(origin);
}

std::string MarkName(const MarkNames& names, int month, int day)
{
    std::vector<std::string> seen;
    std::string joined;
    for (const MarkOrigin& origin : names.origins[month][day]) {
        if (origin.name.empty() || std::find(seen.begin(), seen.end(), origin.name) != seen.end()) continue;
        seen.push_back(origin.name);
        joined += (joined.empty() ? "" : ", ") + origin.name;
    }
    return joined;
}
