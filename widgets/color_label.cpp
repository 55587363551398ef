#include "widgets/color_label.h"

#include <QImage>
#include <QPainter>

#include "dialog/color_label_model.h"
#include "widgets/log_font.h"

namespace {

QFont CaptionFont(int height)
{
    return MakeLogFont(QStringLiteral("돋움체"), -height, 0, 4 - height);
}

}  // namespace

CColorLabel::CColorLabel(QWidget* parent) : QWidget(parent)
{
    // The whole control is painted off screen and copied in one step; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font = CaptionFont(m_nFontHeight);
}

int CColorLabel::SetStyle(COLORREF crText, COLORREF crBack, int nFontHeight, int bGradient, int bDoubleText)
{
    m_crText = crText;
    m_crBack = crBack;
    m_nFontHeight = nFontHeight;
    m_font = CaptionFont(m_nFontHeight);
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
    const CalRect r{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    for (const GradientBand& band : GradientBands(r, n, from, to)) {
        dc.fillRect(QRect(band.rect.left, band.rect.top, band.rect.Width(), band.rect.Height()), ToQColor(band.colour));
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

        mem.setFont(m_font);
        mem.setPen(ToQColor(m_crText));
        const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;
        mem.drawText(rc, flags, m_strText);
        if (m_bDoubleText) mem.drawText(rc.adjusted(-4, -4, 0, 0), flags, m_strText);
    }
    QPainter(this).drawImage(rc.topLeft(), image);
}
