// The serial devices a Linux kernel has, read from sysfs as pyserial and libserialport do.
#pragma once

#include <string>
#include <vector>

struct SerialDevice {
    std::string name;         // ttyUSB0
    std::string path;         // /dev/ttyUSB0
    std::string description;  // USB maker and model when sysfs has them, else empty
};

// Lists <sysfsRoot>/class/tty: every tty with a device behind it (real UARTs, USB adapters,
// on-board UARTs) and Bluetooth rfcomm links; consoles and pseudo-terminals are left out.
// In name order. `sysfsRoot` is "/sys" except in tests.
std::vector<SerialDevice> ListSysfsSerialPorts(const std::string& sysfsRoot);
