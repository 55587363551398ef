#include "comm/wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <initializer_list>

bool CWakePipe::Open()
{
    Close();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    m_read = ends[0];
    m_write = ends[1];
    return true;
}

void CWakePipe::Close()
{
    for (int* end : {&m_read, &m_write}) {
        if (*end >= 0) ::close(*end);
        *end = -1;
    }
}

void CWakePipe::Wake()
{
    const char wake = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(m_write, &wake, 1);
}

void CWakePipe::Drain()
{
    char drain[64];
    while (::read(m_read, drain, sizeof drain) > 0) {
    }
}
