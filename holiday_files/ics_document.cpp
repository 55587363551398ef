#include "holiday_files/ics_document.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr const char* kLineMarker = "X-DORVANE-SOURCE-LINE";

struct ContentLine {
    int number;  // 1-based, of its first physical line
    std::string text;
};

// RFC 5545 3.1: a line break followed by one space or tab continues the line before it.
std::vector<ContentLine> Unfold(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<ContentLine> lines;
    int number = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back().text.append(line.substr(1));
        } else {
            lines.push_back({number, std::string(line)});
        }
    }
    return lines;
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
    LineName result{Upper(line.substr(0, std::min(line.find_first_of(";:"), line.size()))), ""};
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

// A long line would drown the message: cut it on a UTF-8 character boundary.
std::string Shortened(const std::string& line)
{
    constexpr size_t kMost = 60;
    if (line.size() <= kMost) return line;
    size_t cut = kMost;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    return line.substr(0, cut) + "…";
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

CIcsDocument::CIcsDocument(std::string_view text) : m_pParser(icalparser_new())
{
    // As libical's own parse does: malformed data ends up in the tree, never aborts.
    const icalerrorstate saved = icalerror_get_error_state(ICAL_MALFORMEDDATA_ERROR);
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, ICAL_ERROR_NONFATAL);

    const std::vector<ContentLine> lines = Unfold(text);
    std::vector<std::string> lineTexts(lines.empty() ? 1 : lines.back().number + 1);
    // Components begun and not yet ended, with their BEGIN lines. libical ends whatever is open
    // at an END, whatever it names, so the nesting is checked here before it sees the line.
    std::vector<std::pair<std::string, int>> open;
    const auto blameUnended = [&] {
        Blame(open.back().second, "BEGIN:" + open.back().first + "에 맞는 END가 없습니다",
              "BEGIN:" + open.back().first + " without an END");
    };
    bool nestingBroken = false;
    for (const ContentLine& line : lines) {
        if (Blank(line.text)) continue;
        lineTexts[line.number] = line.text;
        const LineName name = NameOf(line.text);
        if (name.name == "END" && (open.empty() || open.back().first != name.component)) {
            const auto begun =
                std::find_if(open.begin(), open.end(), [&](const auto& o) { return o.first == name.component; });
            if (begun == open.end()) {
                Blame(line.number, "END:" + name.component + "에 맞는 BEGIN이 없습니다",
                      "END:" + name.component + " without a BEGIN");
            } else {
                blameUnended();
            }
            nestingBroken = true;
            break;
        }
        if (open.empty() && name.name != "BEGIN") {
            Blame(line.number, "달력(BEGIN:VCALENDAR) 밖에 있는 줄입니다", "a line outside any calendar");
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

    for (icalcomponent* root : m_roots) Record(root, lineTexts);
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

int CIcsDocument::LineOf(const icalcomponent* component) const
{
    const auto found = m_lines.find(component);
    return found == m_lines.end() ? 0 : found->second;
}

int CIcsDocument::LineOf(const icalproperty* property) const
{
    const auto found = m_lines.find(property);
    return found == m_lines.end() ? 0 : found->second;
}

void CIcsDocument::Feed(const std::string& line)
{
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    if (icalcomponent* root = icalparser_add_line(m_pParser, buffer.data())) m_roots.push_back(root);
}

// Into the component the next line goes to, or, after a BEGIN, the component it began.
void CIcsDocument::FeedMarker(int line)
{
    Feed(std::string(kLineMarker) + ":" + std::to_string(line));
}

void CIcsDocument::Record(icalcomponent* component, const std::vector<std::string>& lineTexts)
{
    // The first marker in a component is its BEGIN line, even where libical put a fault first.
    int line = 0;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr && line == 0;
         p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
        line = MarkedLine(p);
    }
    m_lines[component] = line;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
        if (const int marked = MarkedLine(p)) {
            line = marked;
            continue;
        }
        m_lines[p] = line;
        if (icalproperty_isa(p) == ICAL_XLICERROR_PROPERTY) {
            Blame(line, KoreanReason(p) + " (" + Shortened(lineTexts[line]) + ")", icalproperty_get_xlicerror(p));
        }
    }
    for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c != nullptr;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        Record(c, lineTexts);
    }
}

// Keeps the earliest fault: later ones may only follow from it.
void CIcsDocument::Blame(int line, std::string korean, std::string english)
{
    if (m_fault && m_fault->line <= line) return;
    m_fault = IcsFault{line, {std::move(korean), std::move(english)}};
}
