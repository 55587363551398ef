// A pipe that wakes a thread blocked in poll() or a selector (POSIX): Wake() leaves a byte in it
// until the waiter drains it, so a wake-up that comes before the wait is not lost.
#pragma once

class CWakePipe {
public:
    CWakePipe() = default;
    ~CWakePipe() { Close(); }
    CWakePipe(const CWakePipe&) = delete;
    CWakePipe& operator=(const CWakePipe&) = delete;

    // A new pipe, both ends non-blocking; false when the system has none to give.
    bool Open();
    void Close();
    bool IsOpen() const { return m_read >= 0; }
    // The end to wait on.
    int ReadEnd() const { return m_read; }
    void Wake();
    // Empties it, after a wake-up was seen.
    void Drain();

private:
    int m_read = -1;
    int m_write = -1;
};
