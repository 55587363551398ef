#include "win32/setup_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include "base/wide_text.h"
#include "dialog/color_label_model.h"
#include "dialog/screen_fit.h"
#include "res/resource.h"
#include "res/setup_dialog.h"
#include "win32/dialog_template_win32.h"
#include "win32/small_dialogs.h"

namespace {

constexpr DWORD SETUP_STYLE = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
// Shown in the task bar, though it has no owner window to stand for it.
constexpr DWORD SETUP_EX_STYLE = WS_EX_APPWINDOW;

// The reader thread's calls, posted to the UI thread.
constexpr UINT WM_APP_POSTED_CALLS = WM_APP + 1;
constexpr UINT_PTR STEP_TIMER = 1;

HICON LoadAppIcon(HINSTANCE instance, int size)
{
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

RECT CalendarRect(int month, double scale)
{
    const CalRect place = CalendarPlace(month);
    return {Scaled(place.left, scale), Scaled(place.top, scale), Scaled(place.right, scale),
            Scaled(place.bottom, scale)};
}

// The monitor's scale at `dpi`, made smaller where its work area cannot hold the dialog drawn at
// it, frame and title bar included: every button stays on the screen and the calendars whole.
double ScreenScale(HWND dialog, HMONITOR screen, UINT dpi)
{
    const double dpiScale = dpi / 96.0;
    const RECT client = TemplatePixels(SETUP_TEMPLATE, 0, 0, SETUP_TEMPLATE.cx, SETUP_TEMPLATE.cy, dpiScale);
    RECT frame = client;
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(screen, &monitor);
    const RECT& work = monitor.rcWork;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    return dpiScale * FitScale(width, height, (frame.right - frame.left) - width, (frame.bottom - frame.top) - height,
                               {work.left, work.top, work.right - work.left, work.bottom - work.top});
}

}  // namespace

CSetupWindow::CSetupWindow() : m_behaviour(static_cast<DialogView&>(*this)) {}

CSetupWindow::~CSetupWindow()
{
    // First of all: no reader may post a frame for a dialog that is going away.
    m_behaviour.m_comm.Shutdown();
    if (HWND window = m_hWnd.load()) DestroyWindow(window);
    for (HICON icon : {m_hIcon, m_hSmallIcon}) {
        if (icon != nullptr) DestroyIcon(icon);
    }
    if (m_font != nullptr) DeleteObject(m_font);
}

INT_PTR CSetupWindow::RunModal(HINSTANCE instance)
{
    m_hInstance = instance;
    m_template = BuildDialogTemplate(SETUP_TEMPLATE, SETUP_STYLE, SETUP_EX_STYLE);
    return DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(m_template.data()), nullptr,
                                   DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CSetupWindow::CreateModeless(HINSTANCE instance)
{
    m_hInstance = instance;
    m_template = BuildDialogTemplate(SETUP_TEMPLATE, SETUP_STYLE, SETUP_EX_STYLE);
    return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(m_template.data()), nullptr,
                                      DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CSetupWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CSetupWindow*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->m_hWnd = dialog;
        self->OnInitDialog();
        return TRUE;
    }
    auto* self = reinterpret_cast<CSetupWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        self->m_hWnd = nullptr;
        return FALSE;
    }
    return self->OnMessage(message, wParam, lParam);
}

void CSetupWindow::OnInitDialog()
{
    HWND dialog = m_hWnd;
    m_hIcon = LoadAppIcon(m_hInstance, GetSystemMetrics(SM_CXICON));
    m_hSmallIcon = LoadAppIcon(m_hInstance, GetSystemMetrics(SM_CXSMICON));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    if (const char* about = LoadResourceString(IDS_ABOUTBOX); *about != '\0') {
        HMENU menu = GetSystemMenu(dialog, FALSE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, Widen(about).c_str());
    }
    m_yearLabel.Subclass(GetDlgItem(dialog, IDC_YEAR_LABEL));
    m_hTip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, m_hInstance, nullptr);
    HMONITOR screen = MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY);
    m_scale = ScreenScale(dialog, screen, GetDpiForWindow(dialog));
    for (int month = 1; month <= 12; ++month) {
        CCalendarWindow& calendar = m_calendars[month - 1];
        calendar.Create(dialog, CalendarRect(month, m_scale), m_scale);
        calendar.SetMarkToggled([this] { m_behaviour.OnMarkToggled(); });
    }
    Layout(m_scale);
    // The work area's top left corner, as the dialog was drawn for a screen of its size.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(screen, &monitor);
    SetWindowPos(dialog, nullptr, monitor.rcWork.left, monitor.rcWork.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The console keeps its size; it is placed beside, below or behind the dialog.
    m_console.Create(m_hInstance, WindowScale(dialog));
    m_behaviour.InitDialog();
}

void CSetupWindow::Layout(double scale)
{
    m_scale = scale;
    HFONT old = m_font;
    m_font = CreateDialogFont(SETUP_TEMPLATE, scale);
    LayoutDialog(m_hWnd, SETUP_TEMPLATE, scale, m_font);
    if (old != nullptr) DeleteObject(old);
    for (int month = 1; month <= 12; ++month) {
        CCalendarWindow& calendar = m_calendars[month - 1];
        const RECT r = CalendarRect(month, scale);
        SetWindowPos(calendar.Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        calendar.SetScale(scale);
    }
    m_yearLabel.SetScale(scale);
}

INT_PTR CSetupWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: return OnCommandMessage(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        // The close box (and Alt+F4) closes the console first; "종  료" and Esc leave it to the
        // end of the process.
        if (m_behaviour.MayEnd()) {
            m_console.Hide();
            EndDialog(m_hWnd, IDCANCEL);
        }
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
        m_behaviour.OnMenuCommand(IDM_ABOUTBOX);
        return TRUE;
    case WM_HELP: m_behaviour.OnMenuCommand(IDM_ABOUTBOX); return TRUE;
    case WM_CONTEXTMENU: OnContextMenu(lParam); return TRUE;
    case WM_TIMER:
        if (wParam != STEP_TIMER) return FALSE;
        KillTimer(m_hWnd, STEP_TIMER);  // one shot
        m_behaviour.OnStepTimer();
        return TRUE;
    case WM_APP_POSTED_CALLS: RunPostedCalls(); return TRUE;
    case WM_DRAWITEM:
        if (wParam != IDC_PROGRESS) return FALSE;
        DrawProgressLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DPICHANGED: OnDpiChanged(wParam, lParam); return TRUE;
    default: return FALSE;
    }
}

bool CSetupWindow::OnCommandMessage(int id, int code)
{
    if (id == IDOK && code == BN_CLICKED) {
        // Enter in a box takes what was typed there and never ends the dialog through "종  료".
        if (!m_behaviour.OnEnterIn(FocusedControl())) End(IDOK);
        return true;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {
        End(IDCANCEL);
        return true;
    }
    // A choice made in the list, not every change of the edit field.
    if (id == IDC_BIWEEKLY_WEEKDAY) return code == CBN_SELENDOK && m_behaviour.OnCommand(id);
    return code == BN_CLICKED && m_behaviour.OnCommand(id);
}

void CSetupWindow::End(int result)
{
    if (m_behaviour.MayEnd()) EndDialog(m_hWnd, result);
}

int CSetupWindow::FocusedControl() const
{
    HWND focus = GetFocus();
    // A combobox's edit field is a child of the combobox.
    while (focus != nullptr && GetParent(focus) != m_hWnd) focus = GetParent(focus);
    return focus != nullptr ? GetDlgCtrlID(focus) : IDC_STATIC;
}

void CSetupWindow::OnContextMenu(LPARAM lParam)
{
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == -1) {  // from the keyboard: at the dialog's corner
        at = {0, 0};
        ClientToScreen(m_hWnd, &at);
    }
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : m_behaviour.ContextMenu()) {
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command), Widen(item.text).c_str());
    }
    const int command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    if (command != 0) m_behaviour.OnMenuCommand(command);
}

void CSetupWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    Layout(ScreenScale(m_hWnd, MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST), HIWORD(wParam)));
    SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSetupWindow::DrawProgressLine(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    RECT done = r;
    done.right = r.left + MulDiv(r.right - r.left, m_progress.value, std::max(m_progress.maximum, 1));
    FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));

    // The text in the highlight's own text colour over the part done, in the window's elsewhere.
    std::wstring text = Widen(m_progress.text);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    const RECT left{r.left, r.top, done.right, r.bottom};
    const RECT right{done.right, r.top, r.right, r.bottom};
    for (const auto& [part, colour] : {std::pair{left, COLOR_HIGHLIGHTTEXT}, std::pair{right, COLOR_WINDOWTEXT}}) {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
        SetTextColor(dc, GetSysColor(colour));
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        RestoreDC(dc, saved);
    }
    SelectObject(dc, oldFont);
}

void CSetupWindow::RunPostedCalls()
{
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(m_postedMutex);
        calls.swap(m_posted);
    }
    for (const std::function<void()>& call : calls) call();
}

// DialogView.

void CSetupWindow::SetControlText(int id, const std::string& text)
{
    SetDlgItemTextW(m_hWnd, id, Widen(text).c_str());
}

std::string CSetupWindow::ControlText(int id) const
{
    HWND control = GetDlgItem(m_hWnd, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

bool CSetupWindow::ControlChecked(int id) const
{
    return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CSetupWindow::SetControlChecked(int id, bool checked)
{
    CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CSetupWindow::EnableControl(int id, bool enabled)
{
    EnableWindow(GetDlgItem(m_hWnd, id), enabled ? TRUE : FALSE);
}

void CSetupWindow::ShowControl(int id, bool visible)
{
    ShowWindow(GetDlgItem(m_hWnd, id), visible ? SW_SHOW : SW_HIDE);
}

void CSetupWindow::SetControlTip(int id, const std::string& tip)
{
    std::wstring text = Widen(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(m_hWnd, id));
    tool.lpszText = text.data();
    SendMessageW(m_hTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty()) SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CSetupWindow::AddComboString(int id, const std::string& text)
{
    SendDlgItemMessageW(m_hWnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

bool CSetupWindow::SelectComboString(int id, const std::string& text)
{
    const LRESULT index = SendDlgItemMessageW(m_hWnd, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (index == CB_ERR) return false;
    SendDlgItemMessageW(m_hWnd, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return true;
}

int CSetupWindow::ComboSelection(int id) const
{
    return static_cast<int>(SendDlgItemMessageW(m_hWnd, id, CB_GETCURSEL, 0, 0));
}

void CSetupWindow::SetComboSelection(int id, int index)
{
    SendDlgItemMessageW(m_hWnd, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CSetupWindow::ShowProgressLine(const ProgressLine& line)
{
    m_progress = line;
    HWND control = GetDlgItem(m_hWnd, IDC_PROGRESS);
    // Its text, too, for whatever reads windows' texts (a screen reader, a test).
    SetWindowTextW(control, Widen(line.text).c_str());
    InvalidateRect(control, nullptr, FALSE);
    ShowWindow(control, line.visible ? SW_SHOW : SW_HIDE);
    SetControlTip(IDC_PROGRESS, line.tip);
}

void CSetupWindow::SetYearCaption(const std::string& text)
{
    m_yearLabel.SetStyle(YEAR_CAPTION_STYLE);
    m_yearLabel.SetCaption(text);
}

CCalendarModel& CSetupWindow::Calendar(int month)
{
    return m_calendars[month - 1].Model();
}

void CSetupWindow::RepaintAll()
{
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CSetupWindow::TellOperator(const std::string& text)
{
    MessageBoxW(m_hWnd, Widen(text).c_str(), L"Dorvane", MB_OK | MB_ICONWARNING);
}

bool CSetupWindow::AskOperator(const std::string& text)
{
    return MessageBoxW(m_hWnd, Widen(text).c_str(), L"Dorvane", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void CSetupWindow::AppendConsoleLine(const std::string& line)
{
    m_console.Write(line);
}

void CSetupWindow::OpenConsole()
{
    m_console.Open(m_hWnd);
}

bool CSetupWindow::RunWeekdayDialog(std::string& digits)
{
    return ::RunWeekdayDialog(m_hWnd, digits);
}

bool CSetupWindow::RunLoanPeriodDialog(int& first, int& second)
{
    return ::RunLoanPeriodDialog(m_hWnd, first, second);
}

void CSetupWindow::RunAboutDialog()
{
    ::RunAboutDialog(m_hWnd);
}

std::string CSetupWindow::ChooseHolidayFile(bool save, const std::string& suggestedName)
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring suggested = Widen(suggestedName);
    suggested.copy(path, MAX_PATH - 1);
    OPENFILENAMEW file{};
    file.lStructSize = sizeof file;
    file.hwndOwner = m_hWnd;
    file.lpstrFilter = save ? L"iCalendar (*.ics)\0*.ics\0JSON (*.json)\0*.json\0" : L"iCalendar (*.ics)\0*.ics\0";
    file.lpstrFile = path;
    file.nMaxFile = MAX_PATH;
    file.Flags = OFN_EXPLORER | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&file) : GetOpenFileNameW(&file);
    return chosen ? Narrow(path) : std::string();
}

void CSetupWindow::StartStepTimer(int milliseconds)
{
    SetTimer(m_hWnd, STEP_TIMER, static_cast<UINT>(milliseconds), nullptr);
}

void CSetupWindow::StopStepTimer()
{
    KillTimer(m_hWnd, STEP_TIMER);
}

void CSetupWindow::PostToUiThread(std::function<void()> call)
{
    {
        std::lock_guard lock(m_postedMutex);
        m_posted.push_back(std::move(call));
    }
    PostMessageW(m_hWnd, WM_APP_POSTED_CALLS, 0, 0);
}
