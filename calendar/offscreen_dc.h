// A painter over an off-screen image of the update rectangle, in the widget's coordinates.
// Destroying it copies the image to the widget in one step, so a repaint never flickers.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

class QWidget;

class COffscreenDC : public QPainter {
public:
    // Call from the widget's paint event; `clipBox` is the event's update rectangle.
    COffscreenDC(QWidget* window, const QRect& clipBox);
    ~COffscreenDC();

    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

private:
    QWidget* m_pWindow;
    QRect m_rect;
    QImage m_bitmap;
};
