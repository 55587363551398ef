// An iCalendar text parsed by libical, with the line every component and property came from.
// libical reports a fault only as an X-LIC-ERROR property in the tree, never with its line, so
// the text is fed to its parser one unfolded line at a time, each preceded by a marker property
// that carries the line number; a fault's line is that of the last marker before it.
//
// The text is anyone's: components may nest only a few levels deep (libical and the walks over
// its tree go one call deeper per level), and a message quotes at most the start of a line.
#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/operator_message.h"
#include "date/lunar_date.h"

// BEGIN inside BEGIN: VCALENDAR, VTIMEZONE, STANDARD is three; deeper is refused.
inline constexpr int ICS_MOST_NESTING = 8;

// A DATE value, an all-day one, for libical.
icaltimetype IcalDate(const SolarDate& date);

// Text from the file as a message quotes it: at most the first 100 bytes, cut on a character
// and ended by "…", escaped for the screen (PrintableText).
std::string QuotedText(std::string_view text);

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
    // The line of a component's BEGIN, or of a property; 0 for what the text did not hold. Found
    // by walking the component's properties, so a walk of the caller's over them starts again.
    static int LineOf(icalcomponent* component);
    static int LineOf(icalproperty* property);

private:
    void Feed(const std::string& line);
    void FeedMarker(int line);
    // Blames the first X-LIC-ERROR in the trees, each component after its parent.
    void FindLibicalFault(std::string_view text);
    void Blame(int line, std::string korean, std::string english);

    icalparser* m_pParser;
    std::vector<icalcomponent*> m_roots;
    std::vector<icalcomponent*> m_calendars;
    std::optional<IcsFault> m_fault;
    std::string m_line;  // the line libical is given
};
