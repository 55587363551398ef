#include "holiday_files/ics_document.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/printable_text.h"

namespace {

constexpr const char* kLineMarker = "X-DORVANE-SOURCE-LINE";
constexpr std::size_t kMostQuotedBytes = 100;

struct ContentLine {
    int number = 0;  // 1-based, of its first physical line
    std::string text;
};

// RFC 5545 3.1: a line break followed by one space or tab continues the line before it. One
// line at a time, so that a file of many lines is not held twice.
class ContentLines {
public:
    explicit ContentLines(std::string_view text) : m_text(text)
    {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_text.remove_prefix(3);
    }

    bool Next(ContentLine& line)
    {
        if (m_text.empty()) return false;
        line.number = ++m_number;
        line.text.assign(TakePhysicalLine());
        while (!m_text.empty() && (m_text[0] == ' ' || m_text[0] == '\t')) {
            ++m_number;
            line.text.append(TakePhysicalLine().substr(1));
        }
        return true;
    }

private:
    std::string_view TakePhysicalLine()
    {
        const size_t end = std::min(m_text.find('\n'), m_text.size());
        std::string_view line = m_text.substr(0, end);
        m_text.remove_prefix(std::min(end + 1, m_text.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    std::string_view m_text;
    int m_number = 0;
};

// The unfolded text of line `number`; empty past the end.
std::string LineText(std::string_view text, int number)
{
    ContentLines lines(text);
    ContentLine line;
    while (lines.Next(line)) {
        if (line.number == number) return line.text;
    }
    return {};
}

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The property name before the first ';' or ':'; for BEGIN and END, also the component named.
struct LineName {
    std::string name;
    std::string component;
};

LineName NameOf(const std::string& line)
{
    // Without either, libical finds no name, so no BEGIN or END either.
    if (line.find_first_of(";:") == std::string::npos) return {};
    LineName result{Upper(line.substr(0, line.find_first_of(";:"))), ""};
    const size_t colon = line.find(':');
    if ((result.name == "BEGIN" || result.name == "END") && colon != std::string::npos) {
        result.component = Upper(line.substr(colon + 1));
        result.component.erase(result.component.find_last_not_of(" \t") + 1);
    }
    return result;
}

bool Blank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

// libical gives X-LIC-* properties meanings of its own (X-LIC-ERROR is how it reports a fault;
// the value of an X-LIC-CLASS it prints on standard error as it is), and the marker is ours.
bool Reserved(const LineName& name)
{
    return name.name.rfind("X-LIC-", 0) == 0 || name.name == kLineMarker;
}

std::string KoreanReason(icalproperty* error)
{
    const icalparameter* type = icalproperty_get_first_parameter(error, ICAL_XLICERRORTYPE_PARAMETER);
    switch (type ? icalparameter_get_xlicerrortype(type) : ICAL_XLICERRORTYPE_NONE) {
    case ICAL_XLICERRORTYPE_PROPERTYPARSEERROR: return "알 수 없는 속성입니다";
    case ICAL_XLICERRORTYPE_PARAMETERNAMEPARSEERROR: return "알 수 없는 매개변수입니다";
    case ICAL_XLICERRORTYPE_PARAMETERVALUEPARSEERROR: return "매개변수 값이 잘못되었습니다";
    case ICAL_XLICERRORTYPE_VALUEPARSEERROR: return "값이 잘못되었습니다";
    default: return "iCalendar 형식이 아닙니다";
    }
}

// The line a marker carries; 0 for any other property.
int MarkedLine(icalproperty* property)
{
    if (icalproperty_isa(property) != ICAL_X_PROPERTY) return 0;
    return std::strcmp(icalproperty_get_x_name(property), kLineMarker) == 0 ? std::atoi(icalproperty_get_x(property))
                                                                            : 0;
}

}  // namespace

icaltimetype IcalDate(const SolarDate& date)
{
    // From the null time, not the null date, whose hour of -1 stalls libical's recurrence iterator.
    icaltimetype time = icaltime_null_time();
    time.is_date = 1;
    time.year = date.year;
    time.month = date.month;
    time.day = date.day;
    return time;
}

std::string QuotedText(std::string_view text)
{
    if (text.size() <= kMostQuotedBytes) return PrintableText(text);
    size_t cut = kMostQuotedBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = kMostQuotedBytes;  // no character to cut on: bytes, escaped one by one
    return PrintableText(text.substr(0, cut)) + "…";
}

CIcsDocument::CIcsDocument(std::string_view text) : m_pParser(icalparser_new())
{
    // As libical's own parse does: malformed data ends up in the tree, never aborts.
    const icalerrorstate saved = icalerror_get_error_state(ICAL_MALFORMEDDATA_ERROR);
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, ICAL_ERROR_NONFATAL);

    // Components begun and not yet ended, with their BEGIN lines. libical ends whatever is open
    // at an END, whatever it names, so the nesting is checked here before it sees the line.
    std::vector<std::pair<std::string, int>> open;
    const auto blameUnended = [&] {
        const std::string component = QuotedText(open.back().first);
        Blame(open.back().second, "BEGIN:" + component + "에 맞는 END가 없습니다", "BEGIN:" + component + " without an END");
    };
    // Blames the line, and says false, where it would break the nesting.
    const auto nests = [&](int number, const LineName& name) {
        if (name.name == "END" && (open.empty() || open.back().first != name.component)) {
            const auto begun =
                std::find_if(open.begin(), open.end(), [&](const auto& o) { return o.first == name.component; });
            if (begun != open.end()) {
                blameUnended();
                return false;
            }
            const std::string component = QuotedText(name.component);
            Blame(number, "END:" + component + "에 맞는 BEGIN이 없습니다", "END:" + component + " without a BEGIN");
            return false;
        }
        if (open.empty() && name.name != "BEGIN") {
            Blame(number, "달력(BEGIN:VCALENDAR) 밖에 있는 줄입니다", "a line outside any calendar");
            return false;
        }
        if (name.name == "BEGIN" && open.size() == ICS_MOST_NESTING) {
            const std::string most = std::to_string(ICS_MOST_NESTING);
            Blame(number, "BEGIN이 " + most + "단계보다 깊이 겹쳐 있습니다",
                  "components nested deeper than " + most + " levels");
            return false;
        }
        return true;
    };
    bool nestingBroken = false;
    ContentLines lines(text);
    for (ContentLine line; lines.Next(line);) {
        if (Blank(line.text)) continue;
        const LineName name = NameOf(line.text);
        if (Reserved(name)) continue;  // a file's own means nothing to a holiday
        if (!nests(line.number, name)) {
            nestingBroken = true;
            break;
        }
        if (!open.empty()) FeedMarker(line.number);
        Feed(line.text);
        if (name.name == "BEGIN") {
            open.emplace_back(name.component, line.number);
            FeedMarker(line.number);
        } else if (name.name == "END") {
            open.pop_back();
        }
    }
    if (!nestingBroken && !open.empty()) blameUnended();
    // Closes what is open, so that libical hands over the tree and its faults can be found.
    for (; !open.empty(); open.pop_back()) Feed("END:" + open.back().first);

    FindLibicalFault(text);
    for (icalcomponent* root : m_roots) {
        if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
            m_calendars.push_back(root);
        } else {
            const char* name = icalcomponent_kind_to_string(icalcomponent_isa(root));
            const std::string kind = name != nullptr ? name : "?";
            Blame(LineOf(root), "달력(VCALENDAR)이 아닌 " + kind + "입니다", kind + " is not a VCALENDAR");
        }
    }
    if (m_roots.empty() && !m_fault) Blame(1, "달력(BEGIN:VCALENDAR)이 없습니다", "no calendar (BEGIN:VCALENDAR)");
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, saved);
}

CIcsDocument::~CIcsDocument()
{
    for (icalcomponent* root : m_roots) icalcomponent_free(root);
    icalparser_free(m_pParser);
}

int CIcsDocument::LineOf(icalcomponent* component)
{
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
        if (const int line = MarkedLine(p)) return line;
    }
    return 0;
}

int CIcsDocument::LineOf(icalproperty* property)
{
    icalcomponent* component = icalproperty_get_parent(property);
    if (component == nullptr) return 0;
    // The first marker in a component is its BEGIN line, even where libical put a fault first.
    int line = LineOf(component);
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
        if (p == property) return line;
        if (const int marked = MarkedLine(p)) line = marked;
    }
    return 0;
}

void CIcsDocument::Feed(const std::string& line)
{
    // libical takes a writable string, and keeps it only during the call.
    m_line.assign(line);
    if (icalcomponent* root = icalparser_add_line(m_pParser, m_line.data())) m_roots.push_back(root);
}

// Into the component the next line goes to, or, after a BEGIN, the component it began.
void CIcsDocument::FeedMarker(int line)
{
    Feed(std::string(kLineMarker) + ":" + std::to_string(line));
}

void CIcsDocument::FindLibicalFault(std::string_view text)
{
    int firstLine = 0;
    icalproperty* first = nullptr;
    // A walk with a list of its own: the nesting is bounded, but a walk need not depend on it.
    std::vector<icalcomponent*> pending(m_roots.rbegin(), m_roots.rend());
    while (!pending.empty()) {
        icalcomponent* component = pending.back();
        pending.pop_back();
        int line = 0;
        for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr;
             p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
            if (const int marked = MarkedLine(p)) line = marked;
            if (icalproperty_isa(p) != ICAL_XLICERROR_PROPERTY) continue;
            // Before the component's first marker only at its BEGIN line.
            const int at = line != 0 ? line : LineOf(component);
            if (first == nullptr || at < firstLine) {
                first = p;
                firstLine = at;
            }
        }
        std::vector<icalcomponent*> children;
        for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c != nullptr;
             c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
            children.push_back(c);
        }
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    if (first == nullptr) return;
    Blame(firstLine, KoreanReason(first) + " (" + QuotedText(LineText(text, firstLine)) + ")",
          QuotedText(icalproperty_get_xlicerror(first)));
}

// Keeps the earliest fault: later ones may only follow from it.
void CIcsDocument::Blame(int line, std::string korean, std::string english)
{
    if (m_fault && m_fault->line <= line) return;
    m_fault = IcsFault{line, {std::move(korean), std::move(english)}};
}
