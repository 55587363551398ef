#include "win32/small_dialogs.h"

#include "base/wide_text.h"
#include "dialog/small_dialog_rules.h"
#include "res/resource.h"
#include "res/small_dialogs.h"
#include "win32/dialog_template_win32.h"

namespace {

constexpr DWORD SMALL_DIALOG_STYLE = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

struct RunningDialog {
    const DialogTemplate* t;
    void (*onInit)(HWND, void*);
    bool (*onOk)(HWND, void*);
    void* context;
    HFONT font;
};

void CentreOn(HWND dialog, HWND owner)
{
    RECT o, d;
    GetWindowRect(owner, &o);
    GetWindowRect(dialog, &d);
    const int width = d.right - d.left, height = d.bottom - d.top;
    SetWindowPos(dialog, nullptr, o.left + (o.right - o.left - width) / 2, o.top + (o.bottom - o.top - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* running = reinterpret_cast<RunningDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        running = reinterpret_cast<RunningDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const double scale = WindowScale(dialog);
        running->font = CreateDialogFont(*running->t, scale);
        LayoutDialog(dialog, *running->t, scale, running->font);
        if (HWND owner = GetWindow(dialog, GW_OWNER)) CentreOn(dialog, owner);
        if (running->onInit != nullptr) running->onInit(dialog, running->context);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && (running->onOk == nullptr || running->onOk(dialog, running->context))) {
            EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    default: return FALSE;
    }
}

std::string ItemText(HWND dialog, int id)
{
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
    return Narrow(text);
}

struct LoanPeriods {
    int first = 0;
    int second = 0;
};

// Reads one edit; on a refusal tells the range allowed and puts the focus back on that edit.
bool ExchangeLoanPeriod(HWND dialog, int id, int maxValue, int& value)
{
    if (ParseLoanPeriod(ItemText(dialog, id), 0, maxValue, value)) return true;
    MessageBoxW(dialog, Widen(LoanPeriodPrompt(0, maxValue)).c_str(), L"Dorvane", MB_OK | MB_ICONWARNING);
    HWND edit = GetDlgItem(dialog, id);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return false;
}

}  // namespace

INT_PTR RunTemplateDialog(HWND owner, const DialogTemplate& t, void (*onInit)(HWND, void*), bool (*onOk)(HWND, void*),
                          void* context)
{
    const std::vector<DWORD> memory = BuildDialogTemplate(t, SMALL_DIALOG_STYLE, 0);
    RunningDialog running{&t, onInit, onOk, context, nullptr};
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    const INT_PTR result = DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(memory.data()), owner,
                                                   DialogProc, reinterpret_cast<LPARAM>(&running));
    if (running.font != nullptr) DeleteObject(running.font);
    return result;
}

bool RunWeekdayDialog(HWND owner, std::string& digits)
{
    const auto onOk = [](HWND dialog, void* context) {
        *static_cast<std::string*>(context) =
            WeekdayDigits([dialog](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; });
        return true;
    };
    return RunTemplateDialog(owner, WEEKDAY_TEMPLATE, nullptr, onOk, &digits) == IDOK;
}

bool RunLoanPeriodDialog(HWND owner, int& first, int& second)
{
    LoanPeriods periods;
    const auto onInit = [](HWND dialog, void* context) {
        const auto* p = static_cast<LoanPeriods*>(context);
        SetDlgItemInt(dialog, IDC_LOAN_PERIOD1, static_cast<UINT>(p->first), FALSE);
        SetDlgItemInt(dialog, IDC_LOAN_PERIOD2, static_cast<UINT>(p->second), FALSE);
    };
    const auto onOk = [](HWND dialog, void* context) {
        auto* p = static_cast<LoanPeriods*>(context);
        return ExchangeLoanPeriod(dialog, IDC_LOAN_PERIOD1, LOAN_PERIOD1_MAX, p->first) &&
               ExchangeLoanPeriod(dialog, IDC_LOAN_PERIOD2, LOAN_PERIOD2_MAX, p->second);
    };
    if (RunTemplateDialog(owner, LOAN_PERIOD_TEMPLATE, onInit, onOk, &periods) != IDOK) return false;
    first = periods.first;
    second = periods.second;
    return true;
}

void RunAboutDialog(HWND owner)
{
    RunTemplateDialog(owner, ABOUT_TEMPLATE, nullptr, nullptr, nullptr);
}
