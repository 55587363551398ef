#include "res/app_icon.h"

#include <QPixmap>

#include "res/app_icon_pixels.h"

QImage DrawAppIcon(int size)
{
    const std::vector<std::uint32_t> pixels = AppIconPixels(size);
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) image.setPixel(x, y, pixels[static_cast<std::size_t>(y) * size + x]);
    }
    return image;
}

QIcon AppIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(DrawAppIcon(16)));
    icon.addPixmap(QPixmap::fromImage(DrawAppIcon(32)));
    return icon;
}
