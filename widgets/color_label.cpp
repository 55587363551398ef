#include "widgets/color_label.h"

#include <QImage>
#include <QPainter>

#include "widgets/log_font.h"

CColorLabel::CColorLabel(QWidget* parent) : QWidget(parent)
{
    // The whole control is painted off screen and copied in one step; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CColorLabel::SetStyle(COLORREF crText, COLORREF crBack, int nFontHeight, int bGradient, int bDoubleText)
{
    m_crText = crText;
    m_crBack = crBack;
    m_nFontHeight = nFontHeight;
    m_bGradient = bGradient;
    m_bDoubleText = bDoubleText;
    update();
    return 1;
}

void CColorLabel::SetGradientEnd(COLORREF crGradientEnd)
{
    m_crGradientEnd = crGradientEnd;
}

void CColorLabel::SetCaption(const QString& strText)
{
    m_strText = strText;
}

void CColorLabel::FillGradient(QPainter& dc, const QRect& rect, int n, COLORREF from, COLORREF to)
{
    const int left = rect.left();
    const int right = rect.left() + rect.width();  // exclusive
    const int top = rect.top();
    const int bottom = rect.top() + rect.height();  // exclusive

    const int stepR = (GetRValue(to) - GetRValue(from)) / (n - 1);
    const int stepG = (GetGValue(to) - GetGValue(from)) / (n - 1);
    const int stepB = (GetBValue(to) - GetBValue(from)) / (n - 1);
    const int bandWidth = (right - left) / n;

    int r = GetRValue(from), g = GetGValue(from), b = GetBValue(from);
    int x = left;
    for (int i = 0; i < n; ++i) {
        const int bandRight = i == n - 1 ? right : x + bandWidth;
        // The bands were drawn as outline-less rectangles from (x, top) to (bandRight + 1, bottom),
        // which fill x .. bandRight - 1 and leave the bottom pixel row to the background.
        if (bandRight > x && bottom - 1 > top) {
            dc.fillRect(QRect(x, top, bandRight - x, bottom - 1 - top), QColor(r & 0xFF, g & 0xFF, b & 0xFF));
        }
        r += stepR;
        g += stepG;
        b += stepB;
        x = bandRight;
    }
}

void CColorLabel::paintEvent(QPaintEvent*)
{
    const QRect rc(0, 0, width(), height());
    if (rc.isEmpty()) return;

    QImage image(rc.size(), QImage::Format_RGB32);
    {
        QPainter mem(&image);
        mem.fillRect(rc, ToQColor(m_crBack));
        if (m_bGradient) FillGradient(mem, rc, GRADIENT_STEPS, m_crBack, m_crGradientEnd);

        mem.setFont(MakeLogFont(QStringLiteral("돋움체"), -m_nFontHeight, 0, 4 - m_nFontHeight));
        mem.setPen(ToQColor(m_crText));
        const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;
        mem.drawText(rc, flags, m_strText);
        if (m_bDoubleText) mem.drawText(rc.adjusted(-4, -4, 0, 0), flags, m_strText);
    }
    QPainter(this).drawImage(rc.topLeft(), image);
}
