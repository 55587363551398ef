#include "calendar_test_util.h"

CalRect DayCell(const CCalendarCtrl& ctrl, int day)
{
    const CLunarDate& date = ctrl.GetDate();
    const int firstWeekday = DayOfWeek(date.GetYear(CAL_SOLAR), date.GetMonth(CAL_SOLAR), 1);
    const int offset = firstWeekday - 1 + day - 1;
    CalRect cell;
    ctrl.Model().GetCellRect(offset / 7, offset % 7, &cell);
    return cell;
}

QPoint DayPoint(const CCalendarCtrl& ctrl, int day)
{
    const CalRect cell = DayCell(ctrl, day);
    return QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
}

QColor DayColour(const QImage& image, const CalRect& cell)
{
    QColor found;
    for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c != HOLIDAY_RED && c != SATURDAY_BLUE && c != TEXT_BLACK) continue;
            if (found.isValid() && found != c) return QColor();
            found = c;
        }
    }
    return found;
}
