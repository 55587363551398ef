// An iCalendar text parsed by libical, with the line every component and property came from.
// libical reports a fault only as an X-LIC-ERROR property in the tree, never with its line, so
// the text is fed to its parser one unfolded line at a time, each preceded by a marker property
// that carries the line number; a fault's line is that of the last marker before it.
#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/operator_message.h"
#include "date/lunar_date.h"

// A DATE value, an all-day one, for libical.
icaltimetype IcalDate(const SolarDate& date);

// The first line at fault, and why.
struct IcsFault {
    int line;
    OperatorMessage reason;
};

class CIcsDocument {
public:
    explicit CIcsDocument(std::string_view text);
    ~CIcsDocument();
    CIcsDocument(const CIcsDocument&) = delete;
    CIcsDocument& operator=(const CIcsDocument&) = delete;

    // Set when libical or the nesting of BEGIN and END found the text broken.
    const std::optional<IcsFault>& Fault() const { return m_fault; }
    // The VCALENDAR components in file order.
    const std::vector<icalcomponent*>& Calendars() const { return m_calendars; }
    // The line of a component's BEGIN, or of a property; 0 for what the text did not hold.
    int LineOf(const icalcomponent* component) const;
    int LineOf(const icalproperty* property) const;

private:
    void Feed(const std::string& line);
    void FeedMarker(int line);
    void Record(icalcomponent* component, const std::vector<std::string>& lineTexts);
    void Blame(int line, std::string korean, std::string english);

    icalparser* m_pParser;
    std::vector<icalcomponent*> m_roots;
    std::vector<icalcomponent*> m_calendars;
    std::unordered_map<const void*, int> m_lines;
    std::optional<IcsFault> m_fault;
};
