#include "dialog/setup_behaviour.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/printable_text.h"
#include "comm/terminal_link.h"
#include "date/holidays.h"
#include "date/lunar_date.h"
#include "date/unknown_holidays.h"
#include "dialog/color_label_model.h"
#include "ports/net_address.h"
#include "ports/port_enumerator.h"
#include "protocol/holiday_upload.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "res/setup_dialog.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int FIRST_YEAR = 2009;
constexpr int CALENDAR_PITCH = 220;
constexpr int CALENDAR_LEFT = 10;
constexpr int CALENDAR_TOP = 80;

constexpr int MODEL_102_CONTROLS[] = {
    IDC_BIWEEKLY_FRAME,   IDC_BIWEEKLY_USE,     IDC_BIWEEKLY_EVEN, IDC_BIWEEKLY_ODD,
    IDC_BIWEEKLY_WEEKDAY, IDC_HOLIDAY_WEEKDAYS, IDC_LOAN_PERIOD,
};

#ifdef _WIN32
bool StdoutIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}
#else
bool StdoutIsTerminal()
{
    return isatty(STDOUT_FILENO) != 0;
}
#endif

// The port combobox as the port list fills it.
class ComboPortList : public CPortList {
public:
    explicit ComboPortList(DialogView& view) : m_view(view) {}
    void AddString(const std::string& text) override { m_view.AddComboString(IDC_PORT, text); }

private:
    DialogView& m_view;
};

std::string Trimmed(const std::string& text)
{
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

CalRect CalendarPlace(int month)
{
    const int i = month - 1;
    const int x = (i % 4) * CALENDAR_PITCH + CALENDAR_LEFT;
    const int y = (i / 4) * CALENDAR_PITCH + CALENDAR_TOP;
    return {x, y, x + CALENDAR_SIZE, y + CALENDAR_SIZE};
}

int CalendarDay(int year, int month, const LocalTime& today)
{
    if (month != today.month) return 1;
    return std::min(today.day, DaysInMonth(year, month, CAL_SOLAR, 0));
}

bool CalendarTakesKeyInDialog(CalendarKey key)
{
    return key == CalendarKey::PageUp || key == CalendarKey::PageDown;
}

CSetupBehaviour::CSetupBehaviour(DialogView& view) : m_view(view), m_clock(ReadLocalClock) {}

CSetupBehaviour::~CSetupBehaviour()
{
    // First of all: no reader may post a frame for a dialog that is going away.
    m_comm.Shutdown();
}

void CSetupBehaviour::PresetPort(int port, int model)
{
    m_nPresetPort = port;
    m_nPresetModel = model;
}

void CSetupBehaviour::InitDialog()
{
    CheckRadio(m_nModel == MODEL_ZEFA101 ? IDC_MODEL_101 : IDC_MODEL_102,
               m_nModel == MODEL_ZEFA101 ? IDC_MODEL_102 : IDC_MODEL_101);
    const LocalTime now = m_clock();
    m_nYear = now.year;
    ShowYear();

    CPortEnumerator ports;
    ComboPortList list(m_view);
    ports.m_pCombo = &list;
    ports.Enumerate();
    SetCalendarDates(now);

    for (const char* item : BIWEEKLY_WEEKDAY_ITEMS) m_view.AddComboString(IDC_BIWEEKLY_WEEKDAY, item);
    m_view.SetComboSelection(IDC_BIWEEKLY_WEEKDAY, 0);
    CheckRadio(IDC_BIWEEKLY_EVEN, IDC_BIWEEKLY_ODD);
    m_view.SetControlTip(IDC_UNSET_SATURDAY, UNSET_SATURDAY_NOTE);

    m_view.OpenConsole();
    for (const std::string& line : PortConsoleLines(g_portMap)) WriteConsole(line + "\n");

    // No marks but the holiday files' days: they count in every year shown.
    LoadHolidayFolder();
    ResetMarks();
    CountHolidays(1);
    ShowModelControls(false);
    ClearProgress();

    if (m_nPresetPort > 0) {
        // Windows lists only the ports its registry knows; --port may name another.
        const std::string name = "COM" + std::to_string(m_nPresetPort);
        if (!m_view.SelectComboString(IDC_PORT, name)) {
            m_view.AddComboString(IDC_PORT, name);
            m_view.SelectComboString(IDC_PORT, name);
        }
        if (m_nPresetModel == MODEL_ZEFA102) {
            CheckRadio(IDC_MODEL_102, IDC_MODEL_101);
            OnModel102();
        }
    }
}

bool CSetupBehaviour::OnCommand(int id)
{
    switch (id) {
    case IDC_NEXT_YEAR: OnNextYear(); break;
    case IDC_PREV_YEAR: OnPrevYear(); break;
    case IDC_UNSET_SUNDAY: OnUnsetSunday(); break;
    case IDC_UNSET_SATURDAY: OnUnsetSaturday(); break;
    case IDC_UNSET_HOLIDAY: OnUnsetHoliday(); break;
    case IDC_BIWEEKLY_USE: OnBiweeklyUse(); break;
    case IDC_BIWEEKLY_EVEN: OnBiweeklyEven(); break;
    case IDC_BIWEEKLY_ODD: OnBiweeklyOdd(); break;
    case IDC_BIWEEKLY_WEEKDAY: OnBiweeklyWeekday(); break;
    case IDC_MODEL_101: OnModel101(); break;
    case IDC_MODEL_102: OnModel102(); break;
    case IDC_PORT_OPEN: OnPortOpen(); break;
    case IDC_SYSTEM_CONNECT: OnSystemConnect(); break;
    case IDC_SET_TIME: OnSetTime(); break;
    case IDC_DATA_READ: OnDataRead(); break;
    case IDC_DATA_DELETE: OnDataDelete(); break;
    case IDC_DATA_SEND: OnDataSend(); break;
    case IDC_HOLIDAY_WEEKDAYS: OnHolidayWeekdays(); break;
    case IDC_LOAN_PERIOD: OnLoanPeriod(); break;
    default: return false;
    }
    return true;
}

bool CSetupBehaviour::OnEnterIn(int id)
{
    // Naming a port is only ever done to open it; Enter never ends the dialog from a box.
    if (id == IDC_PORT) OnPortOpen();
    return id == IDC_PORT || id == IDC_BIWEEKLY_WEEKDAY;
}

void CSetupBehaviour::OnMarkToggled()
{
    CountHolidays(0);
}

std::vector<MenuItem> CSetupBehaviour::ContextMenu() const
{
    std::vector<MenuItem> items;
    if (const char* about = LoadResourceString(IDS_ABOUTBOX); *about != '\0') items.push_back({IDM_ABOUTBOX, about});
    items.push_back({IDM_SHOW_CONSOLE, TEXT_SHOW_CONSOLE});
    items.push_back({IDM_IMPORT_HOLIDAYS, TEXT_IMPORT_HOLIDAYS});
    items.push_back({IDM_EXPORT_HOLIDAYS, TEXT_EXPORT_HOLIDAYS});
    return items;
}

void CSetupBehaviour::OnMenuCommand(int command)
{
    switch (command) {
    case IDM_ABOUTBOX: m_view.RunAboutDialog(); break;
    case IDM_SHOW_CONSOLE: m_view.OpenConsole(); break;
    case IDM_IMPORT_HOLIDAYS: OnImportHolidays(); break;
    case IDM_EXPORT_HOLIDAYS: OnExportHolidays(); break;
    default: break;
    }
}

bool CSetupBehaviour::MayEnd()
{
    if (m_bEndConfirmed || !GetUploadProgress().running) return true;
    m_bEndConfirmed = m_view.AskOperator(TEXT_CLOSE_WHILE_SENDING);
    return m_bEndConfirmed;
}

void CSetupBehaviour::ShowYear()
{
    char caption[32];
    std::snprintf(caption, sizeof caption, "%04d 년", m_nYear);
    m_view.SetYearCaption(caption);
}

void CSetupBehaviour::SetCalendarDates(const LocalTime& today)
{
    for (int month = 1; month <= 12; ++month) {
        m_view.Calendar(month).SetDate(m_nYear, month, CalendarDay(m_nYear, month, today));
    }
}

void CSetupBehaviour::ShowModelControls(bool show)
{
    for (int id : MODEL_102_CONTROLS) m_view.ShowControl(id, show);
}

void CSetupBehaviour::CheckRadio(int on, int off)
{
    // In this order: a group that keeps one button checked lets go of `off` as `on` is checked.
    m_view.SetControlChecked(on, true);
    m_view.SetControlChecked(off, false);
}

int CSetupBehaviour::CheckState(int id) const
{
    return m_view.ControlChecked(id) ? 1 : 0;
}

// Year navigation. Marks belong to month and day only, so they never carry over to another year;
// the holiday files' days are marked again for the new one.
// The total is recounted: the last count belonged to another year.

void CSetupBehaviour::OnNextYear()
{
    ++m_nYear;
    ShowOtherYear();
}

void CSetupBehaviour::OnPrevYear()
{
    if (m_nYear > FIRST_YEAR) --m_nYear;
    ShowOtherYear();
}

void CSetupBehaviour::ShowOtherYear()
{
    ShowYear();
    SetCalendarDates(m_clock());
    ResetMarks();
    ClearProgress();
    CountHolidays(0);
    if (LunarHolidaysUnknown(m_nYear)) WriteConsole(NoteLine(UnknownHolidayNotes(m_nYear).front().korean));
    Repaint();
}

// Options: stored for the holiday rule, shown at once and counted, never sent.

void CSetupBehaviour::OnUnsetSunday()
{
    g_holidaySettings.unsetSunday = CheckState(IDC_UNSET_SUNDAY);
    CountHolidays(0);
    Repaint();
}

void CSetupBehaviour::OnUnsetSaturday()
{
    g_holidaySettings.unsetSaturday = CheckState(IDC_UNSET_SATURDAY);
    Repaint();
}

void CSetupBehaviour::OnUnsetHoliday()
{
    g_holidaySettings.unsetHoliday = CheckState(IDC_UNSET_HOLIDAY);
    CountHolidays(0);
    Repaint();
}

void CSetupBehaviour::OnBiweeklyUse()
{
    g_holidaySettings.biweeklyUse = CheckState(IDC_BIWEEKLY_USE);
    CountHolidays(0);
    Repaint();
}

void CSetupBehaviour::OnBiweeklyEven()
{
    g_holidaySettings.biweeklyOdd = 0;
    CountHolidays(0);
    Repaint();
}

void CSetupBehaviour::OnBiweeklyOdd()
{
    g_holidaySettings.biweeklyOdd = 1;
    CountHolidays(0);
    Repaint();
}

void CSetupBehaviour::OnBiweeklyWeekday()
{
    g_holidaySettings.biweeklyWeekday = m_view.ComboSelection(IDC_BIWEEKLY_WEEKDAY) + 1;
    CountHolidays(0);
    Repaint();
}

// The model sets the framing at once, so the receiver follows without a reopen.

void CSetupBehaviour::OnModel101()
{
    m_nModel = MODEL_ZEFA101;
    m_comm.m_nFraming = ModelFraming(m_nModel);
    ShowModelControls(false);
}

void CSetupBehaviour::OnModel102()
{
    m_nModel = MODEL_ZEFA102;
    m_comm.m_nFraming = ModelFraming(m_nModel);
    ::OnModelSelected(*this, m_nModel);  // ends the exchange in the protocol
    m_step.End();
    ShowStep();
    ShowModelControls(true);
}

void CSetupBehaviour::OnPortOpen()
{
    m_nModel = CheckState(IDC_MODEL_102) ? MODEL_ZEFA102 : MODEL_ZEFA101;
    // A network address typed into the box (or COMn=address) is numbered as --port numbers it,
    // listed and selected, so that the entry below reads COMn again.
    if (const std::string typed = Trimmed(m_view.ControlText(IDC_PORT)); IsNetworkPortName(typed)) {
        std::string error;
        const int port = ParsePortArgument(typed, g_portMap, error);
        if (port == 0) {  // nothing was closed or opened
            m_view.TellOperator(error);
            return;
        }
        const std::string entry = "COM" + std::to_string(port);
        if (!m_view.SelectComboString(IDC_PORT, entry)) {
            m_view.AddComboString(IDC_PORT, entry);
            m_view.SelectComboString(IDC_PORT, entry);
        }
        WriteConsole(PortListLine(g_portMap, entry) + "\n");
    }
    // Entries read COMn; the number is what follows the first three characters.
    const std::string name = m_view.ControlText(IDC_PORT);
    const int port = name.size() > 3 ? std::atoi(name.c_str() + 3) : 0;
    if (port <= 0 || port > PORT_NUMBER_MAX) {
        m_view.TellOperator(TEXT_SELECT_PORT);
        return;
    }
    // Whatever waited for a reply waited on the line this closes.
    EndExchange();
    ShowPortState(OpenTerminalLink(m_comm, *this, port, ModelFraming(m_nModel)) ? PORT_OPEN : PORT_OPEN_FAILED);
}

void CSetupBehaviour::ShowPortState(PortState state)
{
    SetStatusCaption(StatusCaption(state, g_bConnected));
}

bool CSetupBehaviour::RequireOpenPort()
{
    return ::RequireOpenPort(*this, m_comm.m_bRunning != 0);
}

int CSetupBehaviour::CountHolidays(int list)
{
    return ::CountHolidays(m_nYear, list, *this);
}

// ProtocolHost.

void CSetupBehaviour::WriteConsole(const std::string& line)
{
    // Once, for both: a terminal's bytes must not act on the operator's terminal either.
    const std::string shown = PrintableLine(line);
    if (StdoutIsTerminal()) {
        std::fwrite(shown.data(), 1, shown.size(), stdout);
        std::fflush(stdout);
    }
    m_view.AppendConsoleLine(shown);
}

void CSetupBehaviour::SetTotalCaption(const std::string& text)
{
    m_view.SetControlText(IDC_TOTAL, text);
}

void CSetupBehaviour::WriteFrame(const std::string& frame)
{
    m_comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
}

void CSetupBehaviour::ShowMessage(const std::string& text)
{
    m_view.TellOperator(text);
}

void CSetupBehaviour::SetStatusCaption(const std::string& text)
{
    m_view.SetControlText(IDC_STATUS, text);
}

void CSetupBehaviour::Repaint()
{
    m_view.RepaintAll();
}

int CSetupBehaviour::GetLongReply()
{
    return m_comm.m_bLongReply;
}

void CSetupBehaviour::SetLongReply(int value)
{
    m_comm.m_bLongReply = value;
}

void CSetupBehaviour::RearmFramer()
{
    m_comm.RearmFramer();
}

void CSetupBehaviour::DiscardPartialReply()
{
    m_comm.DiscardPartialReply();
}
