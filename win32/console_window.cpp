#include "win32/console_window.h"

#include <algorithm>

#include "base/wide_text.h"
#include "dialog/screen_fit.h"
#include "res/resource.h"
#include "win32/dialog_template_win32.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"DorvaneConsole";
constexpr DWORD STYLE = WS_OVERLAPPEDWINDOW;
constexpr DWORD EX_STYLE = 0;
constexpr UINT WM_APP_FLUSH = WM_APP + 1;

// The edit control's own line ends.
std::wstring EditText(const std::string& line)
{
    std::wstring text;
    for (wchar_t c : Widen(line)) {
        if (c == L'\n') text += L'\r';
        text += c;
    }
    return text;
}

}  // namespace

CConsoleWindow::~CConsoleWindow()
{
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
    if (m_font != nullptr) DeleteObject(m_font);
}

bool CConsoleWindow::Create(HINSTANCE instance, double scale)
{
    m_scale = scale;
    WNDCLASSW existing{};
    if (!GetClassInfoW(instance, CLASS_NAME, &existing)) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = WindowProc;
        cls.hInstance = instance;
        cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        cls.lpszClassName = CLASS_NAME;
        if (RegisterClassW(&cls) == 0) return false;
    }
    m_hWnd =
        CreateWindowExW(EX_STYLE, CLASS_NAME, Widen(CONSOLE_TITLE).c_str(), STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        Scaled(CONSOLE_WIDTH, scale), Scaled(CONSOLE_HEIGHT, scale), nullptr, nullptr, instance, this);
    if (m_hWnd == nullptr) return false;
    m_hEdit = CreateWindowExW(0, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                  ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                              0, 0, 0, 0, m_hWnd, nullptr, instance, nullptr);
    SendMessageW(m_hEdit, EM_SETLIMITTEXT, 0, 0);  // as much as the lines kept need
    m_font = CreateFontW(-Scaled(CONSOLE_FONT_PIXELS, scale), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         Widen(CONSOLE_FACE).c_str());
    SendMessageW(m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    RECT client;
    GetClientRect(m_hWnd, &client);
    MoveWindow(m_hEdit, 0, 0, client.right, client.bottom, FALSE);
    return true;
}

void CConsoleWindow::Open(HWND dialog)
{
    // Frames, title bars included: a window placed by its client area alone runs off the screen
    // by its title bar.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, STYLE, FALSE, EX_STYLE, GetDpiForWindow(dialog));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    RECT d;
    GetWindowRect(dialog, &d);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const ScreenRect placed =
        PlaceConsole({d.left, d.top, d.right - d.left, d.bottom - d.top},
                     {work.left, work.top, work.right - work.left, work.bottom - work.top},
                     Scaled(CONSOLE_WIDTH, m_scale) + frameWidth, Scaled(CONSOLE_HEIGHT, m_scale) + frameHeight,
                     Scaled(CONSOLE_MIN_HEIGHT, m_scale) + frameHeight, Scaled(CONSOLE_GAP, m_scale));
    // Under the dialog: in the area's corner the console waits behind it for the operator.
    SetWindowPos(m_hWnd, dialog, placed.x, placed.y, placed.width, placed.height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CConsoleWindow::Hide()
{
    ShowWindow(m_hWnd, SW_HIDE);
}

bool CConsoleWindow::AtEnd() const
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(m_hEdit, SB_VERT, &info) || info.nMax <= 0) return true;
    return info.nPos + static_cast<int>(info.nPage) > info.nMax;
}

void CConsoleWindow::Write(const std::string& line)
{
    // Every edit of an edit control costs alike, one line or a hundred: a year's listing or an
    // upload's traffic goes in at once.
    if (m_pending.empty()) PostMessageW(m_hWnd, WM_APP_FLUSH, 0, 0);
    m_pending += EditText(line);
    ++m_nPendingLines;
}

void CConsoleWindow::Flush()
{
    if (m_pending.empty()) return;
    // Someone reading back up keeps their place, and their selection to copy.
    const bool following = AtEnd();
    const auto firstVisible = static_cast<int>(SendMessageW(m_hEdit, EM_GETFIRSTVISIBLELINE, 0, 0));
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(m_hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    SendMessageW(m_hEdit, WM_SETREDRAW, FALSE, 0);

    const auto length = static_cast<WPARAM>(GetWindowTextLengthW(m_hEdit));
    SendMessageW(m_hEdit, EM_SETSEL, length, static_cast<LPARAM>(length));
    SendMessageW(m_hEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(m_pending.c_str()));
    m_nLines += m_nPendingLines;
    m_pending.clear();
    m_nPendingLines = 0;
    int droppedLines = 0;
    int dropped = 0;  // characters
    if (m_nLines > CONSOLE_LINES_KEPT) {
        droppedLines = m_nLines - CONSOLE_LINES_KEPT;
        dropped = static_cast<int>(SendMessageW(m_hEdit, EM_LINEINDEX, static_cast<WPARAM>(droppedLines), 0));
        SendMessageW(m_hEdit, EM_SETSEL, 0, static_cast<LPARAM>(dropped));
        SendMessageW(m_hEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        m_nLines = CONSOLE_LINES_KEPT;
    }
    const auto kept = [dropped](DWORD at) { return static_cast<WPARAM>(at > DWORD(dropped) ? at - dropped : 0); };
    SendMessageW(m_hEdit, EM_SETSEL, kept(selStart), static_cast<LPARAM>(kept(selEnd)));
    if (following) {
        SendMessageW(m_hEdit, WM_VSCROLL, SB_BOTTOM, 0);
    } else {
        const auto now = static_cast<int>(SendMessageW(m_hEdit, EM_GETFIRSTVISIBLELINE, 0, 0));
        SendMessageW(m_hEdit, EM_LINESCROLL, 0, std::max(firstVisible - droppedLines, 0) - now);
    }
    SendMessageW(m_hEdit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hEdit, nullptr, TRUE);
}

LRESULT CALLBACK CConsoleWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<CConsoleWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (self != nullptr && self->m_hEdit != nullptr)
            MoveWindow(self->m_hEdit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_CLOSE: ShowWindow(window, SW_HIDE); return 0;
    case WM_APP_FLUSH:
        if (self != nullptr) self->Flush();
        return 0;
    case WM_CTLCOLORSTATIC:
        // Read-only, yet a page to read from rather than a greyed-out control.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_NCDESTROY:
        if (self != nullptr) self->m_hWnd = nullptr;
        break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
