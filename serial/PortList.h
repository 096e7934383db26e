// The serial ports this machine has, read from sysfs, each with a description taken from the
// /dev/serial/by-id link that points at it. Any thread (it only reads the file system).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace nvx {

struct SerialPort {
    std::string name;        // what the serial component opens: "ttyUSB0" is /dev/ttyUSB0
    std::string description; // the adapter's identity, empty for ports without a by-id link
};

// The port offered when the system lists none: the first conventional name.
inline constexpr const char* kFallbackPort = "ttyS0";

// The tty devices under root/sys/class/tty that have hardware behind them, sorted alphabetically by
// name; empty when there are none. `root` is "/" on a running system.
std::vector<SerialPort> FindSerialPorts(const std::filesystem::path& root = "/");

// The ports the connection dialog offers: those found, or the fallback port alone.
std::vector<SerialPort> ListSerialPorts(const std::filesystem::path& root = "/");

// The order of the port list: alphabetical, ignoring case, so ttyS10 comes before ttyS2.
bool AlphabeticalLess(const std::string& a, const std::string& b);

// The port as a list item: "ttyUSB0 (FTDI FT232R USB UART A9XK)", or the name alone. The name stays the
// first blank-free run, so the item still names its port.
std::string PortItemText(const SerialPort& port);

} // namespace nvx
