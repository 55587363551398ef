#include "ports/registry.h"

// Linux keeps its serial ports in sysfs, not in a registry (see sysfs_ports.h).
CRegistry* SystemRegistry()
{
    return nullptr;
}
