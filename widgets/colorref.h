// Colours as the dialog code states them, under the platform's names, for the Qt views.
#pragma once

#include <QColor>

#include "dialog/colour.h"

using COLORREF = Colour;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return MakeColour(red, green, blue);
}
constexpr int GetRValue(COLORREF c)
{
    return RedOf(c);
}
constexpr int GetGValue(COLORREF c)
{
    return GreenOf(c);
}
constexpr int GetBValue(COLORREF c)
{
    return BlueOf(c);
}

inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

inline COLORREF FromQColor(const QColor& c)
{
    return MakeColour(c.red(), c.green(), c.blue());
}
