#include "calendar/calendar_ctrl.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QToolTip>

#include "calendar/offscreen_dc.h"
#include "dialog/screen_fit.h"
#include "widgets/colorref.h"
#include "widgets/log_font.h"

namespace {

QRect ToQRect(const CalRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

CCalendarCtrl::CCalendarCtrl(QWidget* parent) : QWidget(parent)
{
    // Every paint covers the whole update rectangle; erasing first would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetScale(1.0);  // the fonts and the caption at their own sizes
}

CalendarKey CCalendarCtrl::KeyOf(int key)
{
    switch (key) {
    case Qt::Key_PageUp: return CalendarKey::PageUp;
    case Qt::Key_PageDown: return CalendarKey::PageDown;
    case Qt::Key_Left: return CalendarKey::Left;
    case Qt::Key_Right: return CalendarKey::Right;
    case Qt::Key_Up: return CalendarKey::Up;
    case Qt::Key_Down: return CalendarKey::Down;
    default: return CalendarKey::Other;
    }
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
    m_nCaptionHeight = std::max(1, static_cast<int>(CALENDAR_HEADER_HEIGHT * scale));
    update();
}

void CCalendarCtrl::SetDate(int year, int month, int day)
{
    m_model.SetDate(year, month, day);
    update();
}

const QFont& CCalendarCtrl::Font(CalendarFont font) const
{
    switch (font) {
    case CalendarFont::Title: return m_fontTitle;
    case CalendarFont::Header: return m_fontHeader;
    case CalendarFont::Day: break;
    }
    return m_fontDay;
}

void CCalendarCtrl::paintEvent(QPaintEvent* event)
{
    if (event->rect().isEmpty()) return;
    const QPalette& pal = palette();
    const CalendarSystemColours system{
        FromQColor(pal.color(QPalette::Button)),     FromQColor(pal.color(QPalette::Dark)),
        FromQColor(pal.color(QPalette::Light)),      FromQColor(pal.color(QPalette::HighlightedText)),
        FromQColor(pal.color(QPalette::ButtonText)),
    };
    // "12월" sets the title height; every text of a font has its cell height.
    const CalendarPicture picture =
        m_model.Paint({0, 0, width(), height()}, QFontMetrics(m_fontTitle).height(), m_nCaptionHeight, system);

    COffscreenDC dc(this, event->rect());
    for (const CalendarStroke& stroke : picture) {
        const QRect box = ToQRect(stroke.rect);
        if (stroke.kind == CalendarStroke::FILL) {
            dc.fillRect(box, ToQColor(stroke.colour));
            continue;
        }
        const QFont& font = Font(stroke.font);
        QString shown = QString::fromStdString(stroke.text);
        int flags = Qt::AlignCenter | Qt::TextSingleLine;
        if (stroke.align == CalendarStroke::CENTRED_ELLIPSIS) {
            shown = QFontMetrics(font).elidedText(shown, Qt::ElideRight, box.width());
        } else if (stroke.align == CalendarStroke::TOP_LEFT) {
            flags = Qt::AlignLeft | Qt::AlignTop;
        }
        dc.save();
        dc.setClipRect(box);
        dc.setFont(font);
        dc.setPen(ToQColor(stroke.colour));
        dc.drawText(box, flags, shown);
        dc.restore();
    }
}

bool CCalendarCtrl::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<CalendarTip> tip = m_model.TipAt(help->pos().x(), help->pos().y());
    if (!tip) {
        QToolTip::hideText();
        return true;
    }
    // Tied to the cell, so that the next day gets a tip of its own.
    QToolTip::showText(help->globalPos(), QString::fromStdString(tip->text), this, ToQRect(tip->cell));
    return true;
}

// The mouse stays with the control from press to release through Qt's implicit grab, which
// is what capturing it on the press achieved.
void CCalendarCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    const CalendarClick click = m_model.OnLButtonDown(point.x(), point.y());
    if (click == CLICK_TITLE_STRIP) {
        update(ToQRect(m_model.TitleButton()));
        return;
    }
    // Taking the focus repaints once, after the focus has moved.
    setUpdatesEnabled(false);
    setFocus(Qt::MouseFocusReason);
    setUpdatesEnabled(true);
    if (click != CLICK_TOGGLED) return;
    update();
    const CLunarDate& day = m_model.GetDate();
    if (m_markToggled) m_markToggled(day.GetMonth(CAL_SOLAR), day.GetDay(CAL_SOLAR));
}

void CCalendarCtrl::mouseDoubleClickEvent(QMouseEvent*)
{
    // Qt delivers the second press of a double click as this event alone. It is no toggle, so
    // the base class, which would treat it as a press, is not called.
}

void CCalendarCtrl::keyPressEvent(QKeyEvent* event)
{
    if (m_model.OnKeyDown(KeyOf(event->key()), event->modifiers() & Qt::ControlModifier)) update();
    QWidget::keyPressEvent(event);
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
