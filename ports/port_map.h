// Which device each port number COMn opens where devices are not named COMn (Linux).
//
// Default numbering, the same for the same device on every run:
//   /dev/ttyS0   .. /dev/ttyS31    COM1   .. COM32    on-board and PCI UARTs
//   /dev/ttyUSB0 .. /dev/ttyUSB31  COM33  .. COM64    USB serial adapters
//   /dev/ttyACM0 .. /dev/ttyACM31  COM65  .. COM96    USB CDC-ACM devices
//   /dev/ttyAMA0 .. /dev/ttyAMA15  COM97  .. COM112   ARM on-board UARTs
//   /dev/rfcomm0 .. /dev/rfcomm15  COM113 .. COM128   Bluetooth serial links
//   anything else (pseudo-terminals, the simulator, other names, network addresses such as
//   rfc2217://host:2001, ports/net_address.h): the first free number from COM129 on, in the order
//   added.
// `--port COMn=PATH` gives a path (or a network address) any number. Port numbers fit in 8 bits:
// 1..255.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

inline constexpr int PORT_NUMBER_MAX = 255;
inline constexpr int PORT_FIRST_DYNAMIC = 129;

struct PortEntry {
    int port = 0;
    std::string path;
    std::string description;  // USB maker and model, or what added it; may be empty
};

class CPortMap {
public:
    // The path's number: its existing one, else its default number when free, else the first
    // free number from COM129 on. 0 when every number is taken.
    int Add(const std::string& path, const std::string& description = {});
    // Port `port` opens `path` from now on; the path loses any number it had before.
    void Set(int port, const std::string& path, const std::string& description = {});
    // Empty when the port has no device.
    std::string Path(int port) const;
    std::vector<PortEntry> Entries() const;  // by port number
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::map<int, PortEntry> m_entries;
};

// The map the serial object opens from; filled by the port list, the command line and the
// simulator before a port is opened.
extern CPortMap g_portMap;

// Default number of a device path (see above); 0 when it has none.
int DefaultPortNumber(const std::string& path);
// "COM12" (any case) gives 12; 0 unless it is COM and a number 1..255.
int PortNumberFromName(const std::string& name);
// Command-line port: "COMn", "COMn=PATH", a device path, a network address or "COMn=ADDRESS".
// Registers a path or address in `map` and gives the port number; 0 with `error` (Korean) when
// the argument is not usable.
int ParsePortArgument(const std::string& argument, CPortMap& map, std::string& error);
// One console line per port: "COM3 = /dev/ttyS2", "COM33 = /dev/ttyUSB0 (FTDI FT232R USB UART)".
std::vector<std::string> PortConsoleLines(const CPortMap& map);
// The line for one listed port name: its console line when the map has its device, else the name
// alone (Windows opens COMn by its name, and its map stays empty).
std::string PortListLine(const CPortMap& map, const std::string& name);
