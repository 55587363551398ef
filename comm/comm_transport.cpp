#include "comm/comm_port.h"
#include "ports/net_address.h"
#include "ports/port_map.h"

std::unique_ptr<CCommPort> CreateCommPort(int port)
{
    const std::string path = g_portMap.Path(port);
    if (IsNetworkPortName(path)) return CreateNetworkCommPort(path);
    return CreateSystemCommPort();
}
