// One month of the solar calendar as a grid of week rows under a title and the weekday names.
// Day numbers are coloured by holiday kind; a click toggles the day's mark in
// g_holidaySettings.marks. The owner reads the marks; it may ask to hear of each toggle.
// Hovering a day tells why it is a holiday.
#pragma once

#include <functional>

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "calendar/calendar_layout.h"
#include "date/lunar_date.h"
#include "widgets/colorref.h"

class QPainter;

// Sets the year (lParam 1) or the month (lParam 2) of the current date to wParam.
inline constexpr int WM_CALENDAR_SETYEARMONTH = 0x465;

class CCalendarCtrl : public QWidget {
public:
    explicit CCalendarCtrl(QWidget* parent = nullptr);

    // Shows that month with that day current and repaints; a date the record refuses leaves the
    // previous date in place.
    void SetDate(int year, int month, int day);
    const CLunarDate& GetDate() const { return m_date; }

    void UpdateSelection();
    // Cell rectangle of the last paint's layout; 0 for a row or column outside the grid.
    int GetCellRect(int row, int col, CalRect* rect) const;
    // Row and column of the cell strictly inside which pt lies, else -1.
    void HitTest(QPoint pt, int* row, int* col) const;
    // Moves the current date to the selected cell's day; 0 for a cell of another month.
    int SelectCell();
    int GetSelRow() const { return m_nSelRow; }
    int GetSelCol() const { return m_nSelCol; }

    // The title bar's text: ten blanks, the month right-aligned in two places, a blank and 월.
    static QString TitleText(int month);

    // Handler of WM_CALENDAR_SETYEARMONTH; always returns 1.
    int OnSetYearMonth(unsigned wParam, long lParam);

    // Draws at `scale` times the sizes the control was designed with (fonts, header row): for a
    // dialog shrunk onto a small screen. 1 draws it as designed.
    void SetScale(double scale);

    // Called after a click has toggled the mark of (month, day), so that the owner can recount.
    void SetMarkToggled(std::function<void(int month, int day)> handler) { m_markToggled = std::move(handler); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OnLButtonDown(QPoint point);
    void OnKeyDown(int nChar, bool bCtrl);

    // The day of this month in the cell under `point`, by the last paint's layout; 0 for a
    // point on no day of the month.
    int DayAt(QPoint point, CLunarDate* day, CalRect* cell) const;
    void ShowDayTip(QPoint point, QPoint globalPoint);

    // Adds to m_date on the solar calendar; undone, returning 0, when the year would fall to 2 or below.
    int GuardedMove(int years, int months, int days);

    void DrawTitle(QPainter& dc, const CalRect& rect);
    void DrawWeekdayHeader(QPainter& dc, const CalRect& rect);
    void DrawDays(QPainter& dc);
    void DrawGrid(QPainter& dc);

    int m_colX[8] = {};
    int m_rowY[7] = {};
    int m_nTitleHeight = 0;
    int m_nHeaderHeight = 0;
    int m_nWeeks = 0;
    CLunarDate m_date;
    QString m_strWeekday[7];
    QFont m_fontTitle, m_fontHeader, m_fontDay;
    COLORREF m_crBorder, m_crGrid, m_crText, m_crHoliday, m_crSaturday;
    CalRect m_rcTitleButton;
    int m_nSelRow = 0;
    int m_nSelCol = 0;
    int m_nCaptionHeight;  // the weekday header's height: the desktop's caption height
    std::function<void(int, int)> m_markToggled;
};
