// The automatic search for a device: ports are probed in turn through a link that is never started as
// a thread, until one answers. Interface thread; about 300 ms plus the open time per port.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/xModem.h"

namespace nvx {

class Session;

// What each probing link is made with.
struct PortProbe {
    TLinkClient* device = nullptr;
    TOutArray* queue = nullptr; // the links log their port opening and closing here
    LinkWindows windows;
    bool rtsPower = true;
    bool modem = false; // ask a GSM modem for its revision instead of the device for its version
};

// The probe of a session: its device, queue, main window and RTS setting.
PortProbe SessionProbe(Session& session, bool modem);

// "+v" for a device on the cable, "AT+GMR" for a GSM modem.
std::string ProbeCommand(bool modem);

// What a probe answer says about its port: the first "SIM" + digits in it (a modem's chip), else the
// first line of the trimmed answer; empty when nothing but blanks and line ends came.
std::string DeviceLabel(const std::string& answer);

// Probes the ports in order and stops at the first that answers. Gives that port's list text,
// "port (label)", or nothing when no port answered. `portDone` runs after each probed port.
std::optional<std::string> SearchPorts(const PortProbe& probe, const std::vector<std::string>& ports,
                                       const std::function<void(const std::string& port)>& portDone = {});

} // namespace nvx
