// The year caption on Win32: the dialog's static control, subclassed to paint itself off screen
// as the colour label does (its gradient from dialog/color_label_model.h, DotumChe text), copied
// to the window in one BitBlt.
#pragma once

#include <string>

#include "base/windows_api.h"
#include "dialog/color_label_model.h"

class CColorLabelWindow {
public:
    CColorLabelWindow() = default;
    ~CColorLabelWindow();
    CColorLabelWindow(const CColorLabelWindow&) = delete;
    CColorLabelWindow& operator=(const CColorLabelWindow&) = delete;

    // Takes over painting the static control `control`.
    void Subclass(HWND control);
    void SetStyle(const ColorLabelStyle& style);
    void SetCaption(const std::string& text);
    void SetScale(double scale);
    void Paint(HDC target);

private:
    // The caption's font for the style and scale, made when they change and not at every paint.
    HFONT Font();
    void DropFont();

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    HWND m_hWnd = nullptr;
    ColorLabelStyle m_style{0x000000, 0xFF0000, 10, 0, 0, 0x000000};
    std::wstring m_strText = L"1";
    double m_scale = 1.0;
    HFONT m_font = nullptr;
};
