#include "protocol/link_status.h"

#include "protocol/protocol.h"

const char* StatusCaption(PortState port, int connected)
{
    switch (port) {
    case PORT_LOST: return TEXT_PORT_LOST;
    case PORT_OPEN_FAILED: return TEXT_PORT_OPEN_FAILED;
    case PORT_OPEN: return connected == 1 ? TEXT_CONNECTED : TEXT_DISCONNECTED;
    case PORT_NEVER_OPENED: break;
    }
    return TEXT_DISCONNECTED;
}

bool RequireOpenPort(ProtocolHost& host, bool portOpen)
{
    if (portOpen) return true;
    host.ShowMessage(TEXT_OPEN_PORT_FIRST);
    return false;
}
