#include "comm/terminal_link.h"

bool OpenTerminalLink(CComm& comm, CCommOwner& owner, int port, int framing)
{
    if (comm.m_bRunning) comm.Shutdown();
    // Owner and framing before Open: Open starts the reader, and a reply already waiting on
    // the line must find both set.
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = framing;
    comm.SetPortParams(static_cast<std::uint8_t>(port), TERMINAL_BAUD_RATE, 8, CommStopBits::One, CommParity::None);
    return comm.Open();
}
