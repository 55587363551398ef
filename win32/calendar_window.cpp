#include "win32/calendar_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "base/wide_text.h"
#include "dialog/screen_fit.h"
#include "dialog/setup_behaviour.h"
#include "win32/back_buffer.h"
#include "win32/dialog_template_win32.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"CalendarCtrl";
// The tip shows every reason on a line of its own.
constexpr int TIP_WIDTH = 400;

RECT ToRect(const CalRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, CLASS_NAME, &existing)) return true;
    WNDCLASSW cls{};
    cls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = procedure;
    cls.cbWndExtra = sizeof(CCalendarWindow*);
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = CLASS_NAME;
    return RegisterClassW(&cls) != 0;
}

CalendarKey KeyOf(WPARAM key)
{
    switch (key) {
    case VK_PRIOR: return CalendarKey::PageUp;
    case VK_NEXT: return CalendarKey::PageDown;
    case VK_LEFT: return CalendarKey::Left;
    case VK_RIGHT: return CalendarKey::Right;
    case VK_UP: return CalendarKey::Up;
    case VK_DOWN: return CalendarKey::Down;
    default: return CalendarKey::Other;
    }
}

HFONT MakeFont(const wchar_t* face, int height, int weight)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

UINT DrawFormat(CalendarStroke::Align align)
{
    switch (align) {
    case CalendarStroke::CENTRED: return DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    case CalendarStroke::CENTRED_ELLIPSIS: return DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    case CalendarStroke::TOP_LEFT: break;
    }
    return DT_LEFT | DT_TOP | DT_SINGLELINE;
}

}  // namespace

CCalendarWindow::~CCalendarWindow()
{
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
    DeleteFonts();
}

bool CCalendarWindow::Create(HWND parent, const RECT& place, double scale)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!RegisterWindowClass(instance, WindowProc)) return false;
    SetScale(scale);
    m_hWnd = CreateWindowExW(0, CLASS_NAME, L"", WS_CHILD | WS_VISIBLE, place.left, place.top, place.right - place.left,
                             place.bottom - place.top, parent, nullptr, instance, this);
    if (m_hWnd == nullptr) return false;
    m_hTip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, instance, nullptr);
    SendMessageW(m_hTip, TTM_SETMAXTIPWIDTH, 0, Scaled(TIP_WIDTH, m_scale));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    tool.rect = {0, 0, 0x7FFF, 0x7FFF};  // the whole control; which day, the pointer tells
    SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
}

void CCalendarWindow::SetScale(double scale)
{
    DeleteFonts();
    m_scale = scale;
    m_fontTitle = MakeFont(L"굴림체", ScaledFontPixels(18, scale), FW_BOLD);
    m_fontHeader = MakeFont(L"굴림", ScaledFontPixels(12, scale), FW_NORMAL);
    m_fontDay = MakeFont(L"굴림", ScaledFontPixels(16, scale), FW_BOLD);
    if (m_hWnd != nullptr) InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CCalendarWindow::DeleteFonts()
{
    for (HFONT* font : {&m_fontTitle, &m_fontHeader, &m_fontDay}) {
        if (*font != nullptr) DeleteObject(*font);
        *font = nullptr;
    }
}

HFONT CCalendarWindow::Font(CalendarFont font) const
{
    switch (font) {
    case CalendarFont::Title: return m_fontTitle;
    case CalendarFont::Header: return m_fontHeader;
    case CalendarFont::Day: break;
    }
    return m_fontDay;
}

CCalendarWindow* CCalendarWindow::FromHandle(HWND window)
{
    return reinterpret_cast<CCalendarWindow*>(GetWindowLongPtrW(window, 0));
}

void CCalendarWindow::Paint(HDC target)
{
    const CBackBuffer buffer(m_hWnd, target);
    HDC dc = buffer.Dc();
    const int width = buffer.Client().right, height = buffer.Client().bottom;
    HGDIOBJ oldFont = SelectObject(dc, m_fontTitle);

    // "12월" sets the title height.
    SIZE title{};
    GetTextExtentPoint32W(dc, L"12월", 2, &title);
    const CalendarSystemColours system{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW),
                                       GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT),
                                       GetSysColor(COLOR_BTNTEXT)};
    const CalendarPicture picture =
        m_model.Paint({0, 0, width, height}, title.cy, Scaled(CALENDAR_HEADER_HEIGHT, m_scale), system);

    SetBkMode(dc, TRANSPARENT);
    for (const CalendarStroke& stroke : picture) {
        RECT r = ToRect(stroke.rect);
        if (stroke.kind == CalendarStroke::FILL) {
            HBRUSH brush = CreateSolidBrush(stroke.colour);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            continue;
        }
        SelectObject(dc, Font(stroke.font));
        SetTextColor(dc, stroke.colour);
        std::wstring text = Widen(stroke.text);
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DrawFormat(stroke.align));
    }
    buffer.CopyToTarget();
    SelectObject(dc, oldFont);
}

void CCalendarWindow::OnMouseMove(int x, int y)
{
    // One tip per day: a pointer moving on to another cell takes the old tip down.
    CalRect cell;
    const std::optional<CalendarTip> tip = m_model.TipAt(x, y);
    if (tip) cell = tip->cell;
    if (cell == m_tipCell) return;
    m_tipCell = cell;
    SendMessageW(m_hTip, TTM_POP, 0, 0);
    SendMessageW(m_hTip, TTM_UPDATE, 0, 0);
}

LRESULT CALLBACK CCalendarWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CCalendarWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = window;
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(self));
    }
    CCalendarWindow* self = FromHandle(window);
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        self->m_hWnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CCalendarWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        Paint(dc);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_LBUTTONDOWN: {
        SetCapture(m_hWnd);
        const CalendarClick click = m_model.OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (click == CLICK_TITLE_STRIP) {
            const RECT strip = ToRect(m_model.TitleButton());
            InvalidateRect(m_hWnd, &strip, FALSE);
            return 0;
        }
        // Taking the focus repaints once, after the focus has moved.
        LockWindowUpdate(m_hWnd);
        SetFocus(m_hWnd);
        LockWindowUpdate(nullptr);
        if (click == CLICK_TOGGLED) {
            InvalidateRect(m_hWnd, nullptr, FALSE);
            if (m_markToggled) m_markToggled();
        }
        return 0;
    }
    case WM_LBUTTONUP: ReleaseCapture(); return 0;
    case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_NOTIFY: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        if (info->hdr.hwndFrom != m_hTip || info->hdr.code != TTN_GETDISPINFOW) break;
        POINT pointer;
        GetCursorPos(&pointer);
        ScreenToClient(m_hWnd, &pointer);
        const std::optional<CalendarTip> tip = m_model.TipAt(pointer.x, pointer.y);
        m_tipText = tip ? Widen(tip->text) : std::wstring();
        info->lpszText = m_tipText.data();
        return 0;
    }
    // Arrows too, or the dialog would move the focus on from a calendar that shows none; inside
    // the dialog only the keys that turn the month act.
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        const CalendarKey key = KeyOf(wParam);
        if (CalendarTakesKeyInDialog(key) && m_model.OnKeyDown(key, GetKeyState(VK_CONTROL) < 0)) {
            InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(m_hWnd, nullptr, FALSE); return 0;
    case WM_CALENDAR_SETYEARMONTH:
        if (lParam == 1 || lParam == 2) InvalidateRect(m_hWnd, nullptr, FALSE);
        return m_model.OnSetYearMonth(static_cast<unsigned>(wParam), static_cast<long>(lParam));
    default: break;
    }
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}
