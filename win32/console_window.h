// The traffic log's own window on Win32, "Dorvane 콘솔": a read-only multi-line edit, selectable
// and copyable, following the newest line unless the operator has scrolled back. Not the
// system's console (AllocConsole): closing that one ends the whole process, upload and all;
// closing this one only hides it.
#pragma once

#include <string>

#include "base/windows_api.h"

class CConsoleWindow {
public:
    CConsoleWindow() = default;
    ~CConsoleWindow();
    CConsoleWindow(const CConsoleWindow&) = delete;
    CConsoleWindow& operator=(const CConsoleWindow&) = delete;

    bool Create(HINSTANCE instance, double scale);
    // Shows the window beside or below `dialog`, where the screen's work area has room, else
    // behind it in the area's corner; the dialog keeps the focus and stays on top.
    void Open(HWND dialog);
    void Hide();
    // One whole line as it is to be shown (PrintableLine), its "\n" included. The lines written
    // while the UI thread is busy reach the window together, once it is idle again.
    void Write(const std::string& line);
    HWND Handle() const { return m_hWnd; }
    HWND Edit() const { return m_hEdit; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Appends the lines written since the last time, in one edit.
    void Flush();
    // Whether the newest line is in view.
    bool AtEnd() const;

    HWND m_hWnd = nullptr;
    HWND m_hEdit = nullptr;
    HFONT m_font = nullptr;
    int m_nLines = 0;
    std::wstring m_pending;  // lines written, not yet in the window
    int m_nPendingLines = 0;
    double m_scale = 1.0;
};
