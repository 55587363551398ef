// The colour label as it decides, whatever paints it: its style, and the bands of its gradient.
#pragma once

#include <vector>

#include "dialog/calendar_layout.h"
#include "dialog/colour.h"

struct ColorLabelStyle {
    Colour text;
    Colour back;     // also the gradient's start
    int fontHeight;  // character height in pixels, of the fixed-pitch Hangul face 돋움체
    int gradient;    // nonzero: a gradient from `back` to `gradientEnd` over the background
    int doubleText;  // nonzero: the text again, 2 pixels up and left
    Colour gradientEnd;
};

// The year caption: white on red 100, green 100, blue 255 fading to black.
inline constexpr ColorLabelStyle YEAR_CAPTION_STYLE{0xFFFFFF, 0xFF6464, 20, 1, 0, 0x000000};
inline constexpr int GRADIENT_STEPS = 60;

struct GradientBand {
    CalRect rect;  // the pixels it fills
    Colour colour;
};

// n (at least 2) bands from `from` towards `to` over `rect`, with truncating integer steps. The
// last band takes the leftover width and stops short of `to` by the truncation; every band
// leaves the bottom pixel row to the background, as outline-less rectangles do.
std::vector<GradientBand> GradientBands(const CalRect& rect, int n, Colour from, Colour to);
