#include "win32/back_buffer.h"

CBackBuffer::CBackBuffer(HWND window, HDC target) : m_target(target)
{
    GetClientRect(window, &m_client);
    m_dc = CreateCompatibleDC(target);
    m_bitmap = CreateCompatibleBitmap(target, m_client.right, m_client.bottom);
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
}

CBackBuffer::~CBackBuffer()
{
    SelectObject(m_dc, m_oldBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void CBackBuffer::CopyToTarget() const
{
    BitBlt(m_target, 0, 0, m_client.right, m_client.bottom, m_dc, 0, 0, SRCCOPY);
}
