#include "win32/color_label_window.h"

#include <commctrl.h>

#include "base/wide_text.h"
#include "win32/back_buffer.h"
#include "win32/dialog_template_win32.h"

CColorLabelWindow::~CColorLabelWindow()
{
    if (m_hWnd != nullptr) RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
    DropFont();
}

void CColorLabelWindow::Subclass(HWND control)
{
    m_hWnd = control;
    SetWindowSubclass(control, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void CColorLabelWindow::SetStyle(const ColorLabelStyle& style)
{
    m_style = style;
    DropFont();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CColorLabelWindow::SetCaption(const std::string& text)
{
    m_strText = Widen(text);
}

void CColorLabelWindow::SetScale(double scale)
{
    m_scale = scale;
    DropFont();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

HFONT CColorLabelWindow::Font()
{
    if (m_font == nullptr) {
        const int fontHeight = Scaled(m_style.fontHeight, m_scale);
        m_font = CreateFontW(-fontHeight, 4 - fontHeight, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, L"돋움체");
    }
    return m_font;
}

void CColorLabelWindow::DropFont()
{
    if (m_font != nullptr) DeleteObject(m_font);
    m_font = nullptr;
}

void CColorLabelWindow::Paint(HDC target)
{
    const CBackBuffer buffer(m_hWnd, target);
    HDC dc = buffer.Dc();
    RECT r = buffer.Client();
    const int width = r.right, height = r.bottom;

    HBRUSH back = CreateSolidBrush(m_style.back);
    FillRect(dc, &r, back);
    DeleteObject(back);
    SetBkMode(dc, TRANSPARENT);
    if (m_style.gradient) {
        for (const GradientBand& band :
             GradientBands({0, 0, width, height}, GRADIENT_STEPS, m_style.back, m_style.gradientEnd)) {
            const RECT fill{band.rect.left, band.rect.top, band.rect.right, band.rect.bottom};
            HBRUSH brush = CreateSolidBrush(band.colour);
            FillRect(dc, &fill, brush);
            DeleteObject(brush);
        }
    }
    HGDIOBJ oldFont = SelectObject(dc, Font());
    SetTextColor(dc, m_style.text);
    constexpr UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
    DrawTextW(dc, m_strText.data(), static_cast<int>(m_strText.size()), &r, format);
    if (m_style.doubleText) {
        RECT shifted{r.left - 4, r.top - 4, r.right, r.bottom};
        DrawTextW(dc, m_strText.data(), static_cast<int>(m_strText.size()), &shifted, format);
    }
    buffer.CopyToTarget();
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK CColorLabelWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self)
{
    auto* label = reinterpret_cast<CColorLabelWindow*>(self);
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        label->Paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: label->Paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return DefSubclassProc(window, message, wParam, lParam);
    }
}
