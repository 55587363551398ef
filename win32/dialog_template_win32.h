// A res/ template as the Win32 dialog manager takes it: a DLGTEMPLATEEX built in memory, and the
// controls then put at the pixels the template's own base units give (the main dialog's 8 and 13,
// the small ones' 8 and 16), so that the dialog has the Qt view's rectangles at 96 dpi and grows
// with the monitor's dpi.
#pragma once

#include <cstddef>
#include <vector>

#include "base/windows_api.h"
#include "res/dialog_template.h"

// The template in memory, DWORD-aligned, for DialogBoxIndirectParamW and CreateDialogIndirectParamW.
std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& t, DWORD style, DWORD exStyle);
// The id control `index` of the template has in the built dialog: its own, or one of its own for
// IDC_STATIC, so that every control can be found.
int TemplateControlId(const DialogTemplate& t, std::size_t index);

// The monitor's pixels per 96 dpi pixel for `window`.
double WindowScale(HWND window);
// The template's font at `scale`: its face as Windows has it, its point size at 96 dpi.
HFONT CreateDialogFont(const DialogTemplate& t, double scale);
// Puts every control of `t` at its rectangle times `scale` in `font`, and sizes the dialog's
// client area to the template's.
void LayoutDialog(HWND dialog, const DialogTemplate& t, double scale, HFONT font);

// A template rectangle in pixels at `scale`, as LayoutDialog places it.
RECT TemplatePixels(const DialogTemplate& t, int x, int y, int cx, int cy, double scale);
// A length in 96 dpi pixels at `scale`.
int Scaled(int pixels, double scale);
