// One month calendar as it decides, whatever paints it: the month it shows and its current day,
// the layout of a paint, the cell under a point, the colour and text of every cell, the title,
// the selected cell, the keys, and the click that toggles a day's mark in g_holidaySettings.marks.
// A view hands it its size, its font's height and its system colours, paints the picture it gets
// back, and forwards clicks and keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "date/lunar_date.h"
#include "dialog/calendar_layout.h"
#include "dialog/colour.h"

// The weekday row's height at the design size: SM_CYCAPTION of the Windows desktops the
// control was laid out for, whatever the desktop it runs on says.
inline constexpr int CALENDAR_HEADER_HEIGHT = 19;

// Sets the year (lParam 1) or the month (lParam 2) of the current date to wParam.
inline constexpr int WM_CALENDAR_SETYEARMONTH = 0x465;

// The keys a calendar acts on; a view maps its own key codes to these.
enum class CalendarKey { Other, PageUp, PageDown, Left, Right, Up, Down };

// What a left-button press did, for the view to follow up.
enum CalendarClick {
    CLICK_TITLE_STRIP,  // the strip at the title's right end: repaint the strip, keep the focus away
    CLICK_NO_CELL,      // take the focus; nothing else changed
    CLICK_BLANK_CELL,   // take the focus; a cell of another month is selected, no date or mark changed
    CLICK_TOGGLED,      // take the focus; the day is current and its mark toggled: repaint
};

// The platform's colours a calendar is drawn in besides its own.
struct CalendarSystemColours {
    Colour face;           // the control's background (button face)
    Colour shadow;         // the title bar, frames' dark edges and the grid
    Colour highlight;      // frames' light edges
    Colour highlightText;  // the title's text
    Colour buttonText;     // the weekday captions
};

enum class CalendarFont { Title, Header, Day };

// One step of a paint: a rectangle filled, or a line of text in a box.
struct CalendarStroke {
    enum Kind { FILL, TEXT };
    enum Align {
        CENTRED,           // one line, centred both ways
        CENTRED_ELLIPSIS,  // the same, shortened with an ellipsis when too wide
        TOP_LEFT,
    };
    Kind kind;
    CalRect rect;  // the pixels filled, or the text's box, to which it is clipped
    Colour colour;
    std::string text = {};  // UTF-8
    CalendarFont font = CalendarFont::Day;
    Align align = TOP_LEFT;
};

// A paint, in the order its parts are drawn.
using CalendarPicture = std::vector<CalendarStroke>;

struct CalendarTip {
    std::string text;  // UTF-8, lines separated by "\n"
    CalRect cell;      // the day's cell: the tip belongs to it
};

class CCalendarModel {
public:
    // Shows the current month with today current.
    CCalendarModel();

    // Shows that month with that day current; a date the record refuses leaves the previous one.
    void SetDate(int year, int month, int day);
    const CLunarDate& GetDate() const { return m_date; }

    void UpdateSelection();
    // Cell rectangle of the last paint's layout; 0 for a row or column outside the grid.
    int GetCellRect(int row, int col, CalRect* rect) const;
    // Row and column of the cell strictly inside which (x, y) lies, else -1.
    void HitTest(int x, int y, int* row, int* col) const;
    // Moves the current date to the selected cell's day; 0 for a cell of another month.
    int SelectCell();
    int GetSelRow() const { return m_nSelRow; }
    int GetSelCol() const { return m_nSelCol; }
    // The strip of the title bar that a click leaves alone; empty before the first paint.
    const CalRect& TitleButton() const { return m_rcTitleButton; }

    // The title bar's text: ten blanks, the month right-aligned in two places, a blank and 월.
    static std::string TitleText(int month);

    // Lays the control out for `client` (the height of the title font's text, the desktop's
    // caption height for the weekday row) and returns everything to draw, in order.
    CalendarPicture Paint(const CalRect& client, int titleTextHeight, int captionHeight,
                          const CalendarSystemColours& system);

    CalendarClick OnLButtonDown(int x, int y);
    // True when the date moved: the view repaints.
    bool OnKeyDown(CalendarKey key, bool ctrl);
    // WM_CALENDAR_SETYEARMONTH; always 1. The view repaints for lParam 1 and 2.
    int OnSetYearMonth(unsigned wParam, long lParam);

    // The cell of day `day` of the month shown, by the last paint's layout; 0 for no such day.
    int DayCell(int day, CalRect* cell) const;
    // Why the day under (x, y) is a holiday, by the last paint's layout; none off the month's days.
    std::optional<CalendarTip> TipAt(int x, int y) const;

    // The colour a day's number is drawn in: holiday red, Saturday blue or black.
    Colour DayColour(const CLunarDate& day) const;

private:
    // The day of this month in the cell under (x, y); 0 for a point on no day of the month.
    int DayAt(int x, int y, CLunarDate* day, CalRect* cell) const;
    // Adds to m_date on the solar calendar; undone, returning 0, when the year would fall below 3.
    int GuardedMove(int years, int months, int days);

    void DrawTitle(CalendarPicture& picture, const CalRect& rect, const CalendarSystemColours& system);
    void DrawWeekdayHeader(CalendarPicture& picture, const CalRect& rect, const CalendarSystemColours& system) const;
    void DrawDays(CalendarPicture& picture) const;
    void DrawGrid(CalendarPicture& picture, Colour grid) const;

    int m_colX[8] = {};
    int m_rowY[7] = {};
    int m_nTitleHeight = 0;
    int m_nHeaderHeight = 0;
    int m_nWeeks = 0;
    CLunarDate m_date;
    Colour m_crBorder = 0;
    Colour m_crText = 0;
    Colour m_crHoliday = MakeColour(220, 0, 0);
    Colour m_crSaturday = MakeColour(0, 0, 150);
    CalRect m_rcTitleButton;
    int m_nSelRow = 0;
    int m_nSelCol = 0;
};

// The weekday captions, Sunday first.
extern const char* const CALENDAR_WEEKDAYS[7];
