// Where the parts of a month calendar go, as a pure function of the control's size.
// Rectangles follow the platform's rule: left and top inside, right and bottom just outside.
#pragma once

struct CalRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const CalRect&, const CalRect&) = default;
};

struct CalendarLayout {
    int colX[8] = {};  // column edges, Sunday's left .. Saturday's right
    int rowY[7] = {};  // row edges, entries 0..weeks
    int titleHeight = 0;
    int headerHeight = 0;
    int weeks = 0;
    CalRect grid;
    CalRect title;
    CalRect header;
};

// weeks is 4..6. Rows are a sixth of the grid each whatever the week count, so the rows of all
// twelve months line up and a short month leaves an empty band under its last week.
CalendarLayout LayoutCalendar(const CalRect& client, int titleTextHeight, int captionHeight, int weeks);
