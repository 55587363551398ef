// A control's picture drawn off screen and copied to the window with one BitBlt, so that a
// repaint never shows half a picture.
#pragma once

#include "base/windows_api.h"

class CBackBuffer {
public:
    // A bitmap the size of `window`'s client area, compatible with `target`.
    CBackBuffer(HWND window, HDC target);
    ~CBackBuffer();
    CBackBuffer(const CBackBuffer&) = delete;
    CBackBuffer& operator=(const CBackBuffer&) = delete;

    HDC Dc() const { return m_dc; }
    const RECT& Client() const { return m_client; }
    // The whole picture to the window's device context.
    void CopyToTarget() const;

private:
    HDC m_target;
    RECT m_client{};
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
};
