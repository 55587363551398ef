// Colours as the dialog code states them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

#include <QColor>

using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return static_cast<COLORREF>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c)
{
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int GetBValue(COLORREF c)
{
    return static_cast<int>(c >> 16 & 0xFF);
}

inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
