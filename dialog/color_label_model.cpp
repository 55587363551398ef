#include "dialog/color_label_model.h"

std::vector<GradientBand> GradientBands(const CalRect& rect, int n, Colour from, Colour to)
{
    const int stepR = (RedOf(to) - RedOf(from)) / (n - 1);
    const int stepG = (GreenOf(to) - GreenOf(from)) / (n - 1);
    const int stepB = (BlueOf(to) - BlueOf(from)) / (n - 1);
    const int bandWidth = rect.Width() / n;

    std::vector<GradientBand> bands;
    int r = RedOf(from), g = GreenOf(from), b = BlueOf(from);
    int x = rect.left;
    for (int i = 0; i < n; ++i) {
        const int bandRight = i == n - 1 ? rect.right : x + bandWidth;
        // Drawn as rectangles from (x, top) to (bandRight + 1, bottom) without an outline, which
        // fill x .. bandRight - 1 and top .. bottom - 2.
        if (bandRight > x && rect.bottom - 1 > rect.top) {
            bands.push_back({{x, rect.top, bandRight, rect.bottom - 1}, MakeColour(r, g, b)});
        }
        r += stepR;
        g += stepG;
        b += stepB;
        x = bandRight;
    }
    return bands;
}
