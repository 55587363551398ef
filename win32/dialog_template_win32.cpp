#include "win32/dialog_template_win32.h"

#include <cmath>
#include <cstring>
#include <string>

#include "base/wide_text.h"
#include "dialog/screen_fit.h"
#include "res/resource.h"

namespace {

// Controls nobody looks up get ids from here on in the built dialog.
constexpr int FIRST_STATIC_ID = 0x7000;

// The dialog manager's predefined classes.
constexpr WORD CLASS_BUTTON = 0x0080;
constexpr WORD CLASS_EDIT = 0x0081;
constexpr WORD CLASS_STATIC = 0x0082;
constexpr WORD CLASS_COMBOBOX = 0x0085;

class TemplateWriter {
public:
    void Word(WORD value) { Bytes(&value, sizeof value); }
    void Dword(DWORD value) { Bytes(&value, sizeof value); }
    void Short(short value) { Bytes(&value, sizeof value); }
    void Text(const std::string& utf8)
    {
        const std::wstring wide = Widen(utf8);
        Bytes(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    void Ordinal(WORD value)
    {
        Word(0xFFFF);
        Word(value);
    }
    void AlignDword()
    {
        while (m_bytes.size() % 4 != 0) m_bytes.push_back(0);
    }
    std::vector<DWORD> Take()
    {
        AlignDword();
        std::vector<DWORD> words(m_bytes.size() / 4);
        std::memcpy(words.data(), m_bytes.data(), m_bytes.size());
        return words;
    }

private:
    void Bytes(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    std::vector<unsigned char> m_bytes;
};

// Korean Windows draws its System font from Gulim, and the small dialogs' Hangul needs it.
std::string WindowsFace(const char* face)
{
    return std::strcmp(face, "System") == 0 ? "굴림" : face;
}

struct ControlClass {
    WORD windowClass;
    DWORD style;
};

ControlClass ClassOf(const DialogControl& c)
{
    switch (c.kind) {
    case ControlKind::PushButton: return {CLASS_BUTTON, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::DefPushButton: return {CLASS_BUTTON, BS_DEFPUSHBUTTON | WS_TABSTOP};
    case ControlKind::CheckBox: return {CLASS_BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::RadioButton:
        return {CLASS_BUTTON, BS_AUTORADIOBUTTON | ((c.style & STYLE_GROUP) ? WS_TABSTOP : 0u)};
    case ControlKind::ComboBox:
        return {CLASS_COMBOBOX,
                CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | ((c.style & STYLE_SORT) ? CBS_SORT : 0u)};
    case ControlKind::Edit: return {CLASS_EDIT, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::Static:
        return {CLASS_STATIC, SS_NOTIFY | ((c.style & STYLE_CENTER) ? SS_CENTER : static_cast<DWORD>(SS_LEFT))};
    case ControlKind::GroupBox: return {CLASS_BUTTON, BS_GROUPBOX};
    case ControlKind::Icon: return {CLASS_STATIC, SS_ICON};
    case ControlKind::Progress: return {CLASS_STATIC, SS_OWNERDRAW | SS_NOTIFY};
    }
    return {CLASS_STATIC, SS_LEFT};
}

}  // namespace

int TemplateControlId(const DialogTemplate& t, std::size_t index)
{
    const int id = t.controls[index].id;
    return id == IDC_STATIC ? FIRST_STATIC_ID + static_cast<int>(index) : id;
}

std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& t, DWORD style, DWORD exStyle)
{
    TemplateWriter w;
    w.Word(1);       // dlgVer
    w.Word(0xFFFF);  // signature: DLGTEMPLATEEX
    w.Dword(0);      // helpID
    w.Dword(exStyle);
    w.Dword(style | DS_SETFONT);
    w.Word(static_cast<WORD>(t.controls.size()));
    w.Short(0);
    w.Short(0);
    w.Short(static_cast<short>(t.cx));
    w.Short(static_cast<short>(t.cy));
    w.Word(0);  // no menu
    w.Word(0);  // the dialog class
    w.Text(t.caption);
    w.Word(static_cast<WORD>(t.pointSize));
    w.Word(FW_NORMAL);
    w.Word(DEFAULT_CHARSET << 8);  // not italic
    w.Text(WindowsFace(t.face));
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const DialogControl& c = t.controls[i];
        const ControlClass cls = ClassOf(c);
        // Every control but a radio button that continues its group starts a group of its own,
        // so that the arrow keys move only within a group of radio buttons.
        const bool group = c.kind != ControlKind::RadioButton || (c.style & STYLE_GROUP);
        w.AlignDword();
        w.Dword(0);  // helpID
        w.Dword(0);  // exStyle
        w.Dword(WS_CHILD | WS_VISIBLE | cls.style | (group ? WS_GROUP : 0u));
        w.Short(static_cast<short>(c.x));
        w.Short(static_cast<short>(c.y));
        w.Short(static_cast<short>(c.cx));
        w.Short(static_cast<short>(c.cy));
        w.Dword(static_cast<DWORD>(TemplateControlId(t, i)));
        w.Ordinal(cls.windowClass);
        if (c.kind == ControlKind::Icon) {
            w.Ordinal(IDR_MAINFRAME);
        } else {
            w.Text(c.caption);
        }
        w.Word(0);  // no creation data
    }
    return w.Take();
}

int Scaled(int pixels, double scale)
{
    return static_cast<int>(std::lround(pixels * scale));
}

RECT TemplatePixels(const DialogTemplate& t, int x, int y, int cx, int cy, double scale)
{
    const int left = Scaled(DialogUnitsToPixelsX(t, x), scale);
    const int top = Scaled(DialogUnitsToPixelsY(t, y), scale);
    return {left, top, left + Scaled(DialogUnitsToPixelsX(t, cx), scale),
            top + Scaled(DialogUnitsToPixelsY(t, cy), scale)};
}

double WindowScale(HWND window)
{
    const UINT dpi = GetDpiForWindow(window);
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

HFONT CreateDialogFont(const DialogTemplate& t, double scale)
{
    const int height = -ScaledFontPixels((t.pointSize * 96 + 36) / 72, scale);
    const std::wstring face = Widen(WindowsFace(t.face));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

void LayoutDialog(HWND dialog, const DialogTemplate& t, double scale, HFONT font)
{
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const DialogControl& c = t.controls[i];
        HWND control = GetDlgItem(dialog, TemplateControlId(t, i));
        if (control == nullptr) continue;
        const RECT r = TemplatePixels(t, c.x, c.y, c.cx, c.cy, scale);
        // The icon keeps its own size; a combobox's height is that of its dropped list.
        const UINT keepSize = c.kind == ControlKind::Icon ? SWP_NOSIZE : 0;
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    RECT frame = TemplatePixels(t, 0, 0, t.cx, t.cy, scale);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, GetDpiForWindow(dialog));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}
