#include "dialog/calendar_model.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "date/holiday_reasons.h"
#include "date/holidays.h"

const char* const CALENDAR_WEEKDAYS[7] = {"일", "월", "화", "수", "목", "금", "토"};

namespace {

// Painting starts at the Sunday on or before the 1st, so the control keeps clear of the first
// years of the calendar.
constexpr int MIN_YEAR = 3;

void FillSolid(CalendarPicture& picture, int x, int y, int cx, int cy, Colour colour)
{
    if (cx > 0 && cy > 0) picture.push_back({CalendarStroke::FILL, {x, y, x + cx, y + cy}, colour});
}

// A one-pixel raised frame drawn the platform's way: the bottom-right colour owns both corners
// it touches.
void Draw3dRect(CalendarPicture& picture, const CalRect& r, Colour topLeft, Colour bottomRight)
{
    FillSolid(picture, r.left, r.top, r.Width() - 1, 1, topLeft);
    FillSolid(picture, r.left, r.top, 1, r.Height() - 1, topLeft);
    FillSolid(picture, r.right - 1, r.top, 1, r.Height(), bottomRight);
    FillSolid(picture, r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

}  // namespace

CCalendarModel::CCalendarModel()
{
    UpdateSelection();
}

void CCalendarModel::SetDate(int year, int month, int day)
{
    m_date.SetDate(year, month, day, CAL_SOLAR, 0);
    UpdateSelection();
}

void CCalendarModel::UpdateSelection()
{
    m_nSelRow = m_date.GetWeekOfMonth() - 1;
    m_nSelCol = m_date.GetWeekday() - 1;
}

int CCalendarModel::GetCellRect(int row, int col, CalRect* rect) const
{
    if (!rect || row < 0 || row > m_nWeeks - 1 || col < 0 || col > 6) return 0;
    // Grid lines run only between cells, so the first row and column start on the grid's edge.
    rect->left = col == 0 ? m_colX[0] : m_colX[col] + 1;
    rect->top = row == 0 ? m_rowY[0] : m_rowY[row] + 1;
    rect->right = m_colX[col + 1];
    rect->bottom = m_rowY[row + 1];
    return 1;
}

void CCalendarModel::HitTest(int x, int y, int* row, int* col) const
{
    *row = -1;
    *col = -1;
    for (int i = 0; i < 7; ++i) {
        if (m_colX[i] < x && x < m_colX[i + 1]) {
            *col = i;
            break;
        }
    }
    for (int i = 0; i < m_nWeeks; ++i) {
        if (m_rowY[i] < y && y < m_rowY[i + 1]) {
            *row = i;
            break;
        }
    }
}

int CCalendarModel::GuardedMove(int years, int months, int days)
{
    m_date.Add(years, months, days, CAL_SOLAR);
    if (m_date.GetYear(CAL_SOLAR) < MIN_YEAR) {
        m_date.Add(-years, -months, -days, CAL_SOLAR);
        return 0;
    }
    return 1;
}

int CCalendarModel::SelectCell()
{
    const int w = m_date.GetWeekOfMonth();
    const int d = m_date.GetDay(CAL_SOLAR);
    const int delta = (m_nSelRow - w) * 7 + m_nSelCol - m_date.GetWeekday() + 8;
    if (delta > 0 && d + delta > m_date.GetDaysInMonth(CAL_SOLAR)) return 0;
    if (delta <= 0 && d + delta <= 0) return 0;
    if (delta == 0) return 1;
    GuardedMove(0, 0, delta);
    UpdateSelection();
    return 1;
}

int CCalendarModel::OnSetYearMonth(unsigned wParam, long lParam)
{
    const int value = static_cast<int>(wParam);
    if (lParam == 1) {
        m_date.SetDate(value, m_date.GetMonth(CAL_SOLAR), m_date.GetDay(CAL_SOLAR), CAL_SOLAR, 0);
    } else if (lParam == 2) {
        m_date.SetDate(m_date.GetYear(CAL_SOLAR), value, m_date.GetDay(CAL_SOLAR), CAL_SOLAR, 0);
    } else {
        return 1;
    }
    UpdateSelection();
    return 1;
}

std::string CCalendarModel::TitleText(int month)
{
    char text[32];
    std::snprintf(text, sizeof text, "          %2d 월", month);
    return text;
}

// ---- painting ----

CalendarPicture CCalendarModel::Paint(const CalRect& client, int titleTextHeight, int captionHeight,
                                      const CalendarSystemColours& system)
{
    CalendarPicture picture;
    FillSolid(picture, client.left, client.top, client.Width(), client.Height(), system.face);
    // The outline: a one-pixel line just inside the client edge.
    FillSolid(picture, client.left, client.top, client.Width(), 1, m_crBorder);
    FillSolid(picture, client.left, client.bottom - 1, client.Width(), 1, m_crBorder);
    FillSolid(picture, client.left, client.top, 1, client.Height(), m_crBorder);
    FillSolid(picture, client.right - 1, client.top, 1, client.Height(), m_crBorder);

    const CalendarLayout layout = LayoutCalendar(client, titleTextHeight, captionHeight, m_date.GetWeeksInMonth());
    std::copy(std::begin(layout.colX), std::end(layout.colX), m_colX);
    std::copy(std::begin(layout.rowY), std::end(layout.rowY), m_rowY);
    m_nTitleHeight = layout.titleHeight;
    m_nHeaderHeight = layout.headerHeight;
    m_nWeeks = layout.weeks;

    DrawTitle(picture, layout.title, system);
    DrawWeekdayHeader(picture, layout.header, system);
    DrawDays(picture);
    DrawGrid(picture, system.shadow);
    return picture;
}

void CCalendarModel::DrawTitle(CalendarPicture& picture, const CalRect& rect, const CalendarSystemColours& system)
{
    Draw3dRect(picture, rect, system.highlight, system.shadow);
    const CalRect r{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
    FillSolid(picture, r.left, r.top, r.Width(), r.Height(), system.shadow);
    m_rcTitleButton = {r.right - 67, r.top + 1, r.right - 2, r.bottom - 1};
    // The leading blanks belong to the text, so the number stands right of the middle.
    picture.push_back({CalendarStroke::TEXT, r, system.highlightText, TitleText(m_date.GetMonth(CAL_SOLAR)),
                       CalendarFont::Title, CalendarStroke::CENTRED});
}

void CCalendarModel::DrawWeekdayHeader(CalendarPicture& picture, const CalRect& rect,
                                       const CalendarSystemColours& system) const
{
    for (int i = 0; i < 7; ++i) {
        const CalRect r{m_colX[i], rect.top, m_colX[i + 1], rect.bottom};
        picture.push_back({CalendarStroke::TEXT, r, system.buttonText, CALENDAR_WEEKDAYS[i], CalendarFont::Header,
                           CalendarStroke::CENTRED_ELLIPSIS});
        Draw3dRect(picture, r, system.highlight, system.shadow);
    }
}

Colour CCalendarModel::DayColour(const CLunarDate& day) const
{
    if (day.GetHolidayKind() != HOLIDAY_NONE) return m_crHoliday;
    if (day.GetWeekday() == 7) return m_crSaturday;
    return m_crText;
}

void CCalendarModel::DrawDays(CalendarPicture& picture) const
{
    const int month = m_date.GetMonth(CAL_SOLAR);
    CLunarDate d(m_date.GetYear(CAL_SOLAR), month, 1, CAL_SOLAR, 0);
    d.Add(0, 0, 1 - d.GetWeekday(), CAL_SOLAR);  // the Sunday of cell (0, 0)
    for (int row = 0; row < m_nWeeks; ++row) {
        for (int col = 0; col < 7; ++col) {
            if (d.GetMonth(CAL_SOLAR) == month) {
                CalRect cell;
                GetCellRect(row, col, &cell);
                const CalRect inner{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
                picture.push_back({CalendarStroke::TEXT, inner, DayColour(d), std::to_string(d.GetDay(CAL_SOLAR)),
                                   CalendarFont::Day, CalendarStroke::TOP_LEFT});
            }
            d.Add(0, 0, 1, CAL_SOLAR);
        }
    }
}

void CCalendarModel::DrawGrid(CalendarPicture& picture, Colour grid) const
{
    // Only the lines between cells: none along the outer edges, none under the last week.
    for (int i = 1; i <= 6; ++i) FillSolid(picture, m_colX[i], m_rowY[0], 1, m_rowY[m_nWeeks] - m_rowY[0], grid);
    for (int i = 1; i < m_nWeeks; ++i) FillSolid(picture, m_colX[0], m_rowY[i], m_colX[7] - m_colX[0], 1, grid);
}

// ---- interaction ----

int CCalendarModel::DayAt(int x, int y, CLunarDate* day, CalRect* cell) const
{
    int row = -1, col = -1;
    HitTest(x, y, &row, &col);
    if (row < 0 || col < 0 || !GetCellRect(row, col, cell)) return 0;
    const int month = m_date.GetMonth(CAL_SOLAR);
    CLunarDate d(m_date.GetYear(CAL_SOLAR), month, 1, CAL_SOLAR, 0);
    d.Add(0, 0, row * 7 + col + 1 - d.GetWeekday(), CAL_SOLAR);  // from the Sunday of cell (0, 0)
    if (d.GetMonth(CAL_SOLAR) != month) return 0;
    *day = d;
    return 1;
}

int CCalendarModel::DayCell(int day, CalRect* cell) const
{
    const int year = m_date.GetYear(CAL_SOLAR);
    const int month = m_date.GetMonth(CAL_SOLAR);
    if (day < 1 || day > DaysInMonth(year, month, CAL_SOLAR, 0)) return 0;
    const int offset = DayOfWeek(year, month, 1) - 1 + day - 1;
    return GetCellRect(offset / 7, offset % 7, cell);
}

std::optional<CalendarTip> CCalendarModel::TipAt(int x, int y) const
{
    CLunarDate day;
    CalRect cell;
    if (!DayAt(x, y, &day, &cell)) return std::nullopt;
    return CalendarTip{HolidayTipText(day, HolidayReasons(day, g_holidaySettings, g_markNames)), cell};
}

CalendarClick CCalendarModel::OnLButtonDown(int x, int y)
{
    if (m_rcTitleButton.Contains(x, y)) return CLICK_TITLE_STRIP;
    int row = -1, col = -1;
    HitTest(x, y, &row, &col);
    if (row == -1 || col == -1) return CLICK_NO_CELL;
    m_nSelRow = row;
    m_nSelCol = col;
    if (!SelectCell()) return CLICK_BLANK_CELL;
    int& mark = g_holidaySettings.marks[m_date.GetMonth(CAL_SOLAR)][m_date.GetDay(CAL_SOLAR)];
    mark = mark == 0 ? 1 : 0;
    return CLICK_TOGGLED;
}

bool CCalendarModel::OnKeyDown(CalendarKey key, bool ctrl)
{
    int years = 0, months = 0, days = 0;
    switch (key) {
    case CalendarKey::PageUp: (ctrl ? years : months) = -1; break;
    case CalendarKey::PageDown: (ctrl ? years : months) = 1; break;
    case CalendarKey::Left: days = -1; break;
    case CalendarKey::Right: days = 1; break;
    case CalendarKey::Up: days = -7; break;
    case CalendarKey::Down: days = 7; break;
    case CalendarKey::Other: return false;
    }
    if (!GuardedMove(years, months, days)) return false;
    UpdateSelection();
    return true;
}
