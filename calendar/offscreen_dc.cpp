#include "calendar/offscreen_dc.h"

#include <QWidget>

COffscreenDC::COffscreenDC(QWidget* window, const QRect& clipBox)
    : m_pWindow(window), m_rect(clipBox), m_bitmap(clipBox.size(), QImage::Format_RGB32)
{
    begin(&m_bitmap);
    // Drawing uses client coordinates; the image starts at the clip box's corner.
    translate(-m_rect.topLeft());
}

COffscreenDC::~COffscreenDC()
{
    end();
    QPainter(m_pWindow).drawImage(m_rect.topLeft(), m_bitmap);
}
