#include "ports/sysfs_ports.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string ReadAttribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    const auto last = text.find_last_not_of(" \t\r\n");
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// USB serial devices sit below the USB device that has the maker and model: walk up from the
// tty's device (an interface of it) until a directory has idVendor.
std::string UsbDescription(const fs::path& device, const fs::path& root)
{
    std::error_code error;
    fs::path at = fs::canonical(device, error);
    if (error) return {};
    const fs::path top = fs::weakly_canonical(root, error);
    for (; !at.empty() && at != top && at != at.root_path(); at = at.parent_path()) {
        if (!fs::exists(at / "idVendor", error)) continue;
        std::string text = ReadAttribute(at / "manufacturer");
        const std::string product = ReadAttribute(at / "product");
        if (!product.empty()) text += (text.empty() ? "" : " ") + product;
        if (text.empty()) text = "USB " + ReadAttribute(at / "idVendor") + ":" + ReadAttribute(at / "idProduct");
        return text;
    }
    return {};
}

// The serial8250 driver registers a fixed number of ports (4 on most distributions) whether or
// not a UART answers at those addresses; sysfs gives those the port type 0 (unknown). Kernels
// without the type attribute show them as bare platform devices.
bool IsPlaceholderUart(const fs::path& tty, const fs::path& device)
{
    const std::string type = ReadAttribute(tty / "type");
    if (!type.empty()) return type == "0";
    std::error_code error;
    return fs::read_symlink(device / "subsystem", error).filename() == "platform";
}

}  // namespace

std::vector<SerialDevice> ListSysfsSerialPorts(const std::string& sysfsRoot)
{
    std::vector<SerialDevice> devices;
    const fs::path classDir = fs::path(sysfsRoot) / "class" / "tty";
    std::error_code error;
    for (fs::directory_iterator it(classDir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const fs::path device = it->path() / "device";
        const bool bluetooth = StartsWith(name, "rfcomm");
        std::error_code missing;
        if (!bluetooth && !fs::exists(device, missing)) continue;  // consoles, ptmx, virtual ttys
        if (!bluetooth && IsPlaceholderUart(it->path(), device)) continue;
        SerialDevice entry{name, "/dev/" + name, {}};
        if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM"))
            entry.description = UsbDescription(device, sysfsRoot);
        devices.push_back(entry);
    }
    std::sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return devices;
}
