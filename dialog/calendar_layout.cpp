#include "dialog/calendar_layout.h"

CalendarLayout LayoutCalendar(const CalRect& client, int titleTextHeight, int captionHeight, int weeks)
{
    CalendarLayout l;
    l.titleHeight = titleTextHeight + 8;
    l.headerHeight = captionHeight;
    l.weeks = weeks;
    l.grid = {client.left + 1, client.top + l.titleHeight + l.headerHeight + 1, client.right - 1, client.bottom - 1};

    const int w = l.grid.Width();
    int extra = w % 7;
    l.colX[0] = l.grid.left;
    for (int i = 1; i <= 7; ++i) {
        l.colX[i] = l.colX[i - 1] + w / 7;
        if (extra > 0) {
            ++l.colX[i];
            --extra;
        }
    }

    // The spare pixels are shared out modulo the week count, not modulo six.
    const int h = l.grid.Height();
    extra = h % weeks;
    l.rowY[0] = l.grid.top;
    for (int i = 1; i <= weeks; ++i) {
        l.rowY[i] = l.rowY[i - 1] + h / 6;
        if (extra > 0) {
            ++l.rowY[i];
            --extra;
        }
    }

    l.title = {l.grid.left, client.top + 1, l.grid.right, client.top + l.titleHeight + 1};
    l.header = {l.grid.left, l.title.bottom, l.grid.right, l.title.bottom + l.headerHeight};
    return l;
}
