// SIGPIPE held back from the calling thread for a while, around code that writes to sockets
// without MSG_NOSIGNAL (gensio does). A write to a connection the peer has closed raises SIGPIPE
// in the writing thread, which would end the dialog and read as a closed stdout to dorvane-cli:
// the failed write alone must tell. One raised meanwhile is taken back before the thread's old
// mask returns.
#pragma once

#include <signal.h>

class CBlockSigpipe {
public:
    CBlockSigpipe()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
        m_bWasPending = IsPending();
    }
    ~CBlockSigpipe()
    {
        if (!m_bWasPending && IsPending()) {
            const timespec now{};
            sigtimedwait(&m_pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    CBlockSigpipe(const CBlockSigpipe&) = delete;
    CBlockSigpipe& operator=(const CBlockSigpipe&) = delete;

private:
    static bool IsPending()
    {
        sigset_t pending;
        return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    }

    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_bWasPending;
};
