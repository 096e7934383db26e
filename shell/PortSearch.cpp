#include "shell/PortSearch.h"

#include <regex>

#include "shell/Session.h"

namespace nvx {

namespace {

constexpr std::uint32_t kProbeTimeoutMs = 300;

// Blanks and control characters at either end go, as the device's line ends do.
std::string Trimmed(const std::string& text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

PortProbe SessionProbe(Session& session, bool modem)
{
    PortProbe probe;
    probe.device = &session.Device();
    probe.queue = &session.Queue();
    probe.windows.mainForm = &session.MainForm();
    probe.rtsPower = session.RtsPower();
    probe.modem = modem;
    return probe;
}

std::string ProbeCommand(bool modem)
{
    return modem ? "AT+GMR" : "+v";
}

std::string DeviceLabel(const std::string& answer)
{
    static const std::regex chip(R"(SIM\d+)");
    static const std::regex line("[^\r\n]+");
    const std::string trimmed = Trimmed(answer);
    std::smatch match;
    if (std::regex_search(trimmed, match, chip) || std::regex_search(trimmed, match, line))
        return match.str();
    return {};
}

std::optional<std::string> SearchPorts(const PortProbe& probe, const std::vector<std::string>& ports,
                                       const std::function<void(const std::string& port)>& portDone)
{
    const std::string command = ProbeCommand(probe.modem);
    std::optional<std::string> found;
    for (const std::string& port : ports) {
        LinkOptions options;
        options.portName = port;
        options.rtsPower = probe.rtsPower;
        options.toneDial = true;
        TModem link(options, probe.device, probe.queue, probe.windows);
        // A port that cannot be opened is logged by the link; the search goes on with the next.
        if (link.OpenPort()) {
            std::string answer;
            // The empty terminator means CR and lets the link drop a device's echo line, so a device
            // whose echo arrives before its answer is still found.
            link.SendCommand(command, answer, false, false, false, "", kProbeTimeoutMs, 1);
            if (const std::string label = DeviceLabel(answer); !label.empty())
                found = port + " (" + label + ")";
            link.ClosePort();
        }
        if (portDone)
            portDone(port);
        if (found)
            break;
    }
    return found;
}

} // namespace nvx
