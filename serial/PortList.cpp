#include "serial/PortList.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <system_error>

namespace nvx {

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

std::string FirstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    line.erase(line.find_last_not_of(" \t\r\n") + 1);
    return line;
}

// serial_core gives every port a UART type; 0 means no UART answered at that address. The legacy
// 8250 driver registers a row of such placeholders (ttyS0 to ttyS31) on most PCs.
bool HasHardware(const fs::path& ttyEntry)
{
    const fs::path type = ttyEntry / "type";
    return !Exists(type) || FirstLine(type) != "0";
}

// "usb-FTDI_FT232R_USB_UART_A9XK-if00-port0" -> "FTDI FT232R USB UART A9XK": udev writes blanks
// as underscores, and the bus and interface parts say nothing to the user.
std::string DescriptionOf(std::string linkName)
{
    static const std::regex bus("^(usb|pci|platform)-");
    static const std::regex interface("-if[0-9A-Fa-f]+(-port[0-9]+)?$");
    static const std::regex blanks("_+");
    linkName = std::regex_replace(linkName, bus, "");
    linkName = std::regex_replace(linkName, interface, "");
    return std::regex_replace(linkName, blanks, " ");
}

// tty name -> description, from the by-id links; the first link in name order wins.
std::map<std::string, std::string> ByIdDescriptions(const fs::path& byId)
{
    std::vector<fs::path> links;
    std::error_code error;
    for (fs::directory_iterator it(byId, error), end; !error && it != end; it.increment(error))
        if (it->is_symlink(error))
            links.push_back(it->path());
    std::sort(links.begin(), links.end());
    std::map<std::string, std::string> descriptions;
    for (const fs::path& link : links) {
        const fs::path target = fs::read_symlink(link, error);
        if (!error)
            descriptions.emplace(target.filename().string(), DescriptionOf(link.filename().string()));
    }
    return descriptions;
}

} // namespace

bool AlphabeticalLess(const std::string& a, const std::string& b)
{
    auto folded = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), LowerAscii);
        return text;
    };
    const std::string fa = folded(a);
    const std::string fb = folded(b);
    return fa != fb ? fa < fb : a < b;
}

std::vector<SerialPort> FindSerialPorts(const fs::path& root)
{
    const std::map<std::string, std::string> descriptions = ByIdDescriptions(root / "dev/serial/by-id");
    std::vector<SerialPort> ports;
    std::error_code error;
    // Only ttys with a "device" link belong to hardware; consoles and pseudo-terminals have none.
    for (fs::directory_iterator it(root / "sys/class/tty", error), end; !error && it != end;
         it.increment(error)) {
        const fs::path entry = it->path();
        if (!Exists(entry / "device") || !HasHardware(entry))
            continue;
        SerialPort port{entry.filename().string(), {}};
        if (auto d = descriptions.find(port.name); d != descriptions.end())
            port.description = d->second;
        ports.push_back(std::move(port));
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPort& a, const SerialPort& b) { return AlphabeticalLess(a.name, b.name); });
    return ports;
}

std::vector<SerialPort> ListSerialPorts(const fs::path& root)
{
    std::vector<SerialPort> ports = FindSerialPorts(root);
    if (ports.empty())
        ports.push_back({kFallbackPort, {}});
    return ports;
}

std::string PortItemText(const SerialPort& port)
{
    return port.description.empty() ? port.name : port.name + " (" + port.description + ")";
}

} // namespace nvx
