// Reading a painted calendar back: which cell holds a day, and in which colour its number is drawn.
#pragma once

#include <QColor>
#include <QImage>

#include "calendar/calendar_ctrl.h"

// The cell of that day of the control's month, from the last paint's layout.
CalRect DayCell(const CCalendarCtrl& ctrl, int day);
// A point well inside the day's cell, away from its edges.
QPoint DayPoint(const CCalendarCtrl& ctrl, int day);

// The one day colour (holiday red, Saturday blue or black) found inside `cell`, or an invalid
// QColor when the cell holds none of them or more than one.
QColor DayColour(const QImage& image, const CalRect& cell);

inline const QColor HOLIDAY_RED(220, 0, 0);
inline const QColor SATURDAY_BLUE(0, 0, 150);
inline const QColor TEXT_BLACK(0, 0, 0);
