// A dialog template as data: what the resource compiler would have held, built into widgets by
// CTemplateDialog. Rectangles are in dialog units; the template's base units turn them into pixels.
#pragma once

#include <span>

enum class ControlKind {
    PushButton,
    DefPushButton,
    CheckBox,     // auto check box
    RadioButton,  // auto radio button; STYLE_GROUP on the first of each group
    ComboBox,     // drop-down combobox: an edit field over a list
    Edit,         // bordered, scrolls horizontally
    Static,       // one line of text, left aligned unless STYLE_CENTER
    GroupBox,
    Icon,      // the application icon at its natural size; cx and cy are ignored
    Progress,  // a progress bar with its text inside
};

inline constexpr unsigned STYLE_NONE = 0;
inline constexpr unsigned STYLE_GROUP = 1;   // starts a new group of radio buttons
inline constexpr unsigned STYLE_SORT = 2;    // combobox keeps its items sorted
inline constexpr unsigned STYLE_CENTER = 4;  // static text centred horizontally

struct DialogControl {
    int id;  // IDC_STATIC for controls nobody looks up
    ControlKind kind;
    const char* caption;  // UTF-8
    int x, y, cx, cy;     // dialog units
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;  // UTF-8
    const char* face;     // the face the template names; mapped in widgets/log_font
    int pointSize;
    int cx, cy;  // client size in dialog units
    // Pixels per 4 horizontal and per 8 vertical dialog units.
    int baseUnitX, baseUnitY;
    std::span<const DialogControl> controls;  // in tab order
};

// x * baseUnitX / 4 and y * baseUnitY / 8, rounded half away from zero like the platform's
// MapDialogRect (its MulDiv): the main dialog's 449 units are 730 pixels, not 729.
inline int MulDiv(int number, int numerator, int denominator)
{
    const long long p = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(p >= 0 ? (p + half) / denominator : (p - half) / denominator);
}
inline int DialogUnitsToPixelsX(const DialogTemplate& t, int x)
{
    return MulDiv(x, t.baseUnitX, 4);
}
inline int DialogUnitsToPixelsY(const DialogTemplate& t, int y)
{
    return MulDiv(y, t.baseUnitY, 8);
}
