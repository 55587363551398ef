#include "dialog/screen_fit.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this a syllable such as 월 or 목 runs its strokes together.
constexpr int LEGIBLE_HANGUL_PIXELS = 11;

}  // namespace

int ScaledFontPixels(int pixels, double scale)
{
    if (scale >= 1.0) return static_cast<int>(std::lround(pixels * scale));
    return std::max({1, std::min(pixels, LEGIBLE_HANGUL_PIXELS), static_cast<int>(pixels * scale)});
}

double FitScale(int clientWidth, int clientHeight, int frameWidth, int frameHeight, const ScreenRect& room)
{
    if (clientWidth <= 0 || clientHeight <= 0) return 1.0;
    const double x = double(room.width - frameWidth) / clientWidth;
    const double y = double(room.height - frameHeight) / clientHeight;
    // A room smaller than the frame itself still leaves a window to see.
    return std::clamp(std::min(x, y), 0.1, 1.0);
}

ScreenRect PlaceConsole(const ScreenRect& dialog, const ScreenRect& room, int width, int height, int minHeight, int gap)
{
    ScreenRect r{0, 0, std::min(width, room.width), std::min(height, room.height)};
    const int below = room.Bottom() - (dialog.Bottom() + gap);
    if (dialog.Right() + gap + r.width <= room.Right()) {
        r.x = dialog.Right() + gap;
        r.y = dialog.y;
    } else if (below >= minHeight) {
        r.height = std::min(r.height, below);
        r.x = dialog.x;
        r.y = dialog.Bottom() + gap;
    } else {
        r.x = room.Right() - r.width;
        r.y = room.Bottom() - r.height;
    }
    r.x = std::clamp(r.x, room.x, room.Right() - r.width);
    r.y = std::clamp(r.y, room.y, room.Bottom() - r.height);
    return r;
}
