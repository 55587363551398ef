#include "res/app_icon.h"

#include <QPainter>
#include <QPixmap>

// A leaf of a desk calendar: blue band on top, a red day below.
QImage DrawAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int unit = size / 16;
    const QRect page(unit, unit * 2, size - 2 * unit, size - 3 * unit);
    p.fillRect(page, Qt::white);
    p.fillRect(QRect(page.left(), page.top(), page.width(), page.height() / 4), QColor(100, 100, 255));
    p.setPen(Qt::black);
    p.drawRect(page.adjusted(0, 0, -1, -1));
    const int day = page.width() / 3;
    p.fillRect(QRect(page.center().x() - day / 2, page.center().y() - day / 4, day, day), QColor(220, 0, 0));
    return image;
}

QIcon AppIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(DrawAppIcon(16)));
    icon.addPixmap(QPixmap::fromImage(DrawAppIcon(32)));
    return icon;
}
