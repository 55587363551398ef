#include "res/app_icon_pixels.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t BLACK = 0xFF000000;
constexpr std::uint32_t BAND = 0xFF6464FF;  // the year caption's blue
constexpr std::uint32_t DAY = 0xFFDC0000;   // the holidays' red

struct Box {
    int x, y, width, height;
};

void Fill(std::vector<std::uint32_t>& pixels, int size, const Box& box, std::uint32_t colour)
{
    for (int y = box.y; y < box.y + box.height; ++y) {
        for (int x = box.x; x < box.x + box.width; ++x) {
            if (x >= 0 && y >= 0 && x < size && y < size) pixels[static_cast<std::size_t>(y) * size + x] = colour;
        }
    }
}

}  // namespace

// A leaf of a desk calendar: blue band on top, a red day below, a black edge.
std::vector<std::uint32_t> AppIconPixels(int size)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
    const int unit = size / 16;
    const Box page{unit, unit * 2, size - 2 * unit, size - 3 * unit};
    Fill(pixels, size, page, WHITE);
    Fill(pixels, size, {page.x, page.y, page.width, page.height / 4}, BAND);
    Fill(pixels, size, {page.x, page.y, page.width, 1}, BLACK);
    Fill(pixels, size, {page.x, page.y + page.height - 1, page.width, 1}, BLACK);
    Fill(pixels, size, {page.x, page.y, 1, page.height}, BLACK);
    Fill(pixels, size, {page.x + page.width - 1, page.y, 1, page.height}, BLACK);
    const int day = page.width / 3;
    // QRect's centre of the page, as the icon was first drawn with.
    const int centreX = page.x + (page.width - 1) / 2;
    const int centreY = page.y + (page.height - 1) / 2;
    Fill(pixels, size, {centreX - day / 2, centreY - day / 4, day, day}, DAY);
    return pixels;
}
