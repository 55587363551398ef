// Opening a port for a terminal, in the one order that is safe.
#pragma once

#include "comm/comm.h"

// Opens COMn at the terminal's line settings (9600 baud, 8 data bits, no parity, one stop bit),
// handing frames of `framing` to `owner`; whatever the object had open is closed first. false
// when the port cannot be opened; Open has then told the owner why.
bool OpenTerminalLink(CComm& comm, CCommOwner& owner, int port, int framing);
