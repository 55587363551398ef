// One month calendar on Win32: the window class "CalendarCtrl". It paints the picture its
// CCalendarModel hands it with GDI into a memory bitmap, copied to the window with one BitBlt,
// and forwards clicks, keys, focus, tooltips and WM_CALENDAR_SETYEARMONTH to the model.
#pragma once

#include <functional>
#include <string>

#include "base/windows_api.h"
#include "dialog/calendar_model.h"

class CCalendarWindow {
public:
    CCalendarWindow() = default;
    ~CCalendarWindow();
    CCalendarWindow(const CCalendarWindow&) = delete;
    CCalendarWindow& operator=(const CCalendarWindow&) = delete;

    // A visible child of `parent` at `place` (pixels), drawn at `scale` times its design.
    bool Create(HWND parent, const RECT& place, double scale);
    void SetScale(double scale);
    HWND Handle() const { return m_hWnd; }
    CCalendarModel& Model() { return m_model; }
    // Called after a click toggled a mark, so that the owner can recount.
    void SetMarkToggled(std::function<void()> handler) { m_markToggled = std::move(handler); }
    // Paints the whole control into `dc` (the window's, or a bitmap's for a picture of it).
    void Paint(HDC dc);

    // The object behind a window of this class.
    static CCalendarWindow* FromHandle(HWND window);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(int x, int y);
    void DeleteFonts();
    HFONT Font(CalendarFont font) const;

    HWND m_hWnd = nullptr;
    HWND m_hTip = nullptr;
    CCalendarModel m_model;
    HFONT m_fontTitle = nullptr, m_fontHeader = nullptr, m_fontDay = nullptr;
    double m_scale = 1.0;
    CalRect m_tipCell;       // the cell whose tip shows, so that the next one gets its own
    std::wstring m_tipText;  // the tooltip reads it after TTN_GETDISPINFO has returned
    std::function<void()> m_markToggled;
};
