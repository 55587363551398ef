#include "calendar/calendar_ctrl.h"

#include <algorithm>
#include <iterator>

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "calendar/offscreen_dc.h"
#include "date/holiday_reasons.h"
#include "date/holidays.h"
#include "widgets/log_font.h"

namespace {

// SM_CYCAPTION of the Windows desktops the control was laid out for.
constexpr int CAPTION_HEIGHT = 19;
// Painting starts at the Sunday on or before the 1st, so the control keeps clear of the first
// years of the calendar.
constexpr int MIN_YEAR = 3;

QRect ToQRect(const CalRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

void FillSolid(QPainter& dc, int x, int y, int cx, int cy, const QColor& colour)
{
    if (cx > 0 && cy > 0) dc.fillRect(x, y, cx, cy, colour);
}

// A one-pixel raised frame drawn the platform's way: the bottom-right colour owns both corners
// it touches.
void Draw3dRect(QPainter& dc, const CalRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    FillSolid(dc, r.left, r.top, r.Width() - 1, 1, topLeft);
    FillSolid(dc, r.left, r.top, 1, r.Height() - 1, topLeft);
    FillSolid(dc, r.right - 1, r.top, 1, r.Height(), bottomRight);
    FillSolid(dc, r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

COLORREF FromQColor(const QColor& c)
{
    return MakeColorRef(c.red(), c.green(), c.blue());
}

}  // namespace

CCalendarCtrl::CCalendarCtrl(QWidget* parent)
    : QWidget(parent),
      m_strWeekday{QStringLiteral("일"), QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"),
                   QStringLiteral("목"), QStringLiteral("금"), QStringLiteral("토")},
      m_crBorder(0),
      m_crGrid(FromQColor(palette().color(QPalette::Dark))),
      m_crText(0),
      m_crHoliday(MakeColorRef(220, 0, 0)),
      m_crSaturday(MakeColorRef(0, 0, 150))
{
    // Every paint covers the whole update rectangle; erasing first would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetScale(1.0);  // the fonts and the caption at their own sizes
    UpdateSelection();
}

void CCalendarCtrl::SetScale(double scale)
{
    const auto scaled = [scale](int height) { return ScaledFontPixels(height, scale); };
    const auto face = [scale](const QString& windowsFace) {
        return scale < 1.0 ? ScaledHangulFace(windowsFace) : windowsFace;
    };
    m_fontTitle = MakeLogFont(face(QStringLiteral("굴림체")), scaled(18), 700);
    m_fontHeader = MakeLogFont(face(QStringLiteral("굴림")), scaled(12), 0);
    m_fontDay = MakeLogFont(face(QStringLiteral("굴림")), scaled(16), 700);
    m_nCaptionHeight = std::max(1, static_cast<int>(CAPTION_HEIGHT * scale));
    update();
}

void CCalendarCtrl::SetDate(int year, int month, int day)
{
    m_date.SetDate(year, month, day, CAL_SOLAR, 0);
    UpdateSelection();
    update();
}

void CCalendarCtrl::UpdateSelection()
{
    m_nSelRow = m_date.GetWeekOfMonth() - 1;
    m_nSelCol = m_date.GetWeekday() - 1;
}

int CCalendarCtrl::GetCellRect(int row, int col, CalRect* rect) const
{
    if (!rect || row < 0 || row > m_nWeeks - 1 || col < 0 || col > 6) return 0;
    // Grid lines run only between cells, so the first row and column start on the grid's edge.
    rect->left = col == 0 ? m_colX[0] : m_colX[col] + 1;
    rect->top = row == 0 ? m_rowY[0] : m_rowY[row] + 1;
    rect->right = m_colX[col + 1];
    rect->bottom = m_rowY[row + 1];
    return 1;
}

void CCalendarCtrl::HitTest(QPoint pt, int* row, int* col) const
{
    *row = -1;
    *col = -1;
    for (int i = 0; i < 7; ++i) {
        if (m_colX[i] < pt.x() && pt.x() < m_colX[i + 1]) {
            *col = i;
            break;
        }
    }
    for (int i = 0; i < m_nWeeks; ++i) {
        if (m_rowY[i] < pt.y() && pt.y() < m_rowY[i + 1]) {
            *row = i;
            break;
        }
    }
}

int CCalendarCtrl::GuardedMove(int years, int months, int days)
{
    m_date.Add(years, months, days, CAL_SOLAR);
    if (m_date.GetYear(CAL_SOLAR) < MIN_YEAR) {
        m_date.Add(-years, -months, -days, CAL_SOLAR);
        return 0;
    }
    return 1;
}

int CCalendarCtrl::SelectCell()
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

int CCalendarCtrl::OnSetYearMonth(unsigned wParam, long lParam)
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
    update();
    return 1;
}

// ---- painting ----

QString CCalendarCtrl::TitleText(int month)
{
    return QString::asprintf("          %2d 월", month);
}

void CCalendarCtrl::paintEvent(QPaintEvent* event)
{
    if (event->rect().isEmpty()) return;
    COffscreenDC dc(this, event->rect());
    dc.save();
    const QPalette& pal = palette();
    const CalRect rc{0, 0, width(), height()};
    dc.fillRect(ToQRect(rc), pal.color(QPalette::Button));

    // The outline: a one-pixel line just inside the client edge.
    const QColor border = ToQColor(m_crBorder);
    FillSolid(dc, rc.left, rc.top, rc.Width(), 1, border);
    FillSolid(dc, rc.left, rc.bottom - 1, rc.Width(), 1, border);
    FillSolid(dc, rc.left, rc.top, 1, rc.Height(), border);
    FillSolid(dc, rc.right - 1, rc.top, 1, rc.Height(), border);

    // "12월" sets the title height; every text of a font has its cell height.
    const int titleTextHeight = QFontMetrics(m_fontTitle).height();
    const CalendarLayout layout = LayoutCalendar(rc, titleTextHeight, m_nCaptionHeight, m_date.GetWeeksInMonth());
    std::copy(std::begin(layout.colX), std::end(layout.colX), m_colX);
    std::copy(std::begin(layout.rowY), std::end(layout.rowY), m_rowY);
    m_nTitleHeight = layout.titleHeight;
    m_nHeaderHeight = layout.headerHeight;
    m_nWeeks = layout.weeks;

    DrawTitle(dc, layout.title);
    DrawWeekdayHeader(dc, layout.header);
    DrawDays(dc);
    DrawGrid(dc);
    dc.restore();
}

void CCalendarCtrl::DrawTitle(QPainter& dc, const CalRect& rect)
{
    dc.save();
    const QPalette& pal = palette();
    Draw3dRect(dc, rect, pal.color(QPalette::Light), pal.color(QPalette::Dark));

    CalRect r{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
    dc.fillRect(ToQRect(r), pal.color(QPalette::Dark));
    dc.setClipRect(ToQRect(r), Qt::IntersectClip);
    m_rcTitleButton = {r.right - 67, r.top + 1, r.right - 2, r.bottom - 1};

    dc.setFont(m_fontTitle);
    // The leading blanks belong to the text, so the number stands right of the middle.
    const QString text = TitleText(m_date.GetMonth(CAL_SOLAR));
    const QFontMetrics fm(m_fontTitle);
    const int cx = fm.horizontalAdvance(text);
    const int cy = fm.height();
    r.left += (r.Width() - cx) / 2;
    r.top += (r.Height() - cy) / 2;
    r.right = r.left + cx;
    r.bottom = r.top + cy;
    dc.setPen(pal.color(QPalette::HighlightedText));
    dc.drawText(ToQRect(r), Qt::AlignCenter | Qt::TextSingleLine, text);
    dc.restore();
}

void CCalendarCtrl::DrawWeekdayHeader(QPainter& dc, const CalRect& rect)
{
    dc.save();
    const QPalette& pal = palette();
    dc.setFont(m_fontHeader);
    dc.setPen(pal.color(QPalette::ButtonText));
    const QFontMetrics fm(m_fontHeader);
    for (int i = 0; i < 7; ++i) {
        CalRect r = rect;
        r.left = m_colX[i];
        r.right = m_colX[i + 1];
        dc.drawText(ToQRect(r), Qt::AlignCenter | Qt::TextSingleLine,
                    fm.elidedText(m_strWeekday[i], Qt::ElideRight, r.Width()));
        Draw3dRect(dc, r, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    }
    dc.restore();
}

void CCalendarCtrl::DrawDays(QPainter& dc)
{
    const int month = m_date.GetMonth(CAL_SOLAR);
    CLunarDate d(m_date.GetYear(CAL_SOLAR), month, 1, CAL_SOLAR, 0);
    dc.save();
    dc.setFont(m_fontDay);
    const QFontMetrics fm(m_fontDay);

    d.Add(0, 0, 1 - d.GetWeekday(), CAL_SOLAR);  // the Sunday of cell (0, 0)
    for (int row = 0; row < m_nWeeks; ++row) {
        for (int col = 0; col < 7; ++col) {
            if (d.GetMonth(CAL_SOLAR) == month) {
                CalRect cell;
                GetCellRect(row, col, &cell);
                const QRect inner = ToQRect(cell).adjusted(2, 2, -2, -2);

                COLORREF colour = m_crText;
                if (d.GetHolidayKind() != HOLIDAY_NONE) {
                    colour = m_crHoliday;
                } else if (d.GetWeekday() == 7) {
                    colour = m_crSaturday;
                }
                dc.setPen(ToQColor(colour));

                const QString text = QString::number(d.GetDay(CAL_SOLAR));
                const QRect textBox(inner.left(), inner.top(), fm.horizontalAdvance(text), fm.height());
                const QRect r = textBox.intersected(inner);
                dc.drawText(r, Qt::AlignLeft | Qt::AlignTop, text);
            }
            d.Add(0, 0, 1, CAL_SOLAR);
        }
    }
    dc.restore();
}

void CCalendarCtrl::DrawGrid(QPainter& dc)
{
    const QColor grid = ToQColor(m_crGrid);
    // Only the lines between cells: none along the outer edges, none under the last week.
    for (int i = 1; i <= 6; ++i) FillSolid(dc, m_colX[i], m_rowY[0], 1, m_rowY[m_nWeeks] - m_rowY[0], grid);
    for (int i = 1; i < m_nWeeks; ++i) FillSolid(dc, m_colX[0], m_rowY[i], m_colX[7] - m_colX[0], 1, grid);
}

// ---- interaction ----

bool CCalendarCtrl::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    ShowDayTip(help->pos(), help->globalPos());
    return true;
}

void CCalendarCtrl::ShowDayTip(QPoint point, QPoint globalPoint)
{
    CLunarDate day;
    CalRect cell;
    if (!DayAt(point, &day, &cell)) {
        QToolTip::hideText();
        return;
    }
    const std::string text = HolidayTipText(day, HolidayReasons(day, g_holidaySettings, g_markNames));
    // Tied to the cell, so that the next day gets a tip of its own.
    QToolTip::showText(globalPoint, QString::fromStdString(text), this, ToQRect(cell));
}

int CCalendarCtrl::DayAt(QPoint point, CLunarDate* day, CalRect* cell) const
{
    int row = -1, col = -1;
    HitTest(point, &row, &col);
    if (row < 0 || col < 0 || !GetCellRect(row, col, cell)) return 0;
    const int month = m_date.GetMonth(CAL_SOLAR);
    CLunarDate d(m_date.GetYear(CAL_SOLAR), month, 1, CAL_SOLAR, 0);
    d.Add(0, 0, row * 7 + col + 1 - d.GetWeekday(), CAL_SOLAR);  // from the Sunday of cell (0, 0)
    if (d.GetMonth(CAL_SOLAR) != month) return 0;
    *day = d;
    return 1;
}

void CCalendarCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) OnLButtonDown(event->position().toPoint());
}

void CCalendarCtrl::mouseDoubleClickEvent(QMouseEvent*)
{
    // Qt delivers the second press of a double click as this event alone. It is no toggle, so
    // the base class, which would treat it as a press, is not called.
}

// The mouse stays with the control from press to release through Qt's implicit grab, which
// is what capturing it on the press achieved.
void CCalendarCtrl::OnLButtonDown(QPoint point)
{
    if (m_rcTitleButton.Contains(point.x(), point.y())) {
        update(ToQRect(m_rcTitleButton));
        return;
    }

    // Taking the focus repaints once, after the focus has moved.
    setUpdatesEnabled(false);
    setFocus(Qt::MouseFocusReason);
    setUpdatesEnabled(true);

    int row = -1, col = -1;
    HitTest(point, &row, &col);
    if (row == -1 || col == -1) return;
    m_nSelRow = row;
    m_nSelCol = col;
    if (!SelectCell()) return;

    const int month = m_date.GetMonth(CAL_SOLAR);
    const int day = m_date.GetDay(CAL_SOLAR);
    int& mark = g_holidaySettings.marks[month][day];
    mark = mark == 0 ? 1 : 0;
    update();
    if (m_markToggled) m_markToggled(month, day);
}

void CCalendarCtrl::keyPressEvent(QKeyEvent* event)
{
    OnKeyDown(event->key(), event->modifiers() & Qt::ControlModifier);
    QWidget::keyPressEvent(event);
}

void CCalendarCtrl::OnKeyDown(int nChar, bool bCtrl)
{
    int years = 0, months = 0, days = 0;
    switch (nChar) {
    case Qt::Key_PageUp: (bCtrl ? years : months) = -1; break;
    case Qt::Key_PageDown: (bCtrl ? years : months) = 1; break;
    case Qt::Key_Left: days = -1; break;
    case Qt::Key_Right: days = 1; break;
    case Qt::Key_Up: days = -7; break;
    case Qt::Key_Down: days = 7; break;
    default: return;
    }
    if (!GuardedMove(years, months, days)) return;
    UpdateSelection();
    update();
}

void CCalendarCtrl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CCalendarCtrl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
