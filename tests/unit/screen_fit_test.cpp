// Text sizes on a screen the dialog was not drawn for: shrunk with it, but never past legible.
#include "dialog/screen_fit.h"

#include <gtest/gtest.h>

TEST(ScaledFontPixels, ShrinksNoFurtherThanLegibleAndGrowsRounded)
{
    const struct {
        int pixels;
        double scale;
        int expected;
    } rows[] = {
        {16, 0.78, 12},  // truncated, never grown past its box
        {12, 0.78, 11},  // held at the least legible Hangul size
        {9, 0.5, 9},     // a design smaller than that keeps its own
        {12, 1.0, 12},
        {13, 1.25, 16},  // more dots per inch: rounded, 16.25
        {16, 1.75, 28},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScaledFontPixels(row.pixels, row.scale), row.expected) << row.pixels << " x " << row.scale;
    }
}
