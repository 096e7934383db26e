#include "pages/PanelCommands.h"

#include <ctime>
#include <string>

#include "core/FormModel.h"
#include "device/DevVeltra.h"
#include "device/Protocol.h"
#include "link/xModem.h"
#include "pages/CommonWire.h"

namespace nvx {

namespace {

// A panel that keeps answering something other than the bare confirmation (or refuses "+sp")
// would otherwise be asked again for ever while the job holds the link.
constexpr int kMaxStopRounds = 10;

void RemoveFirst(std::string& text, const std::string& part)
{
    const std::size_t at = text.find(part);
    if (at != std::string::npos)
        text.erase(at, part.size());
}

// How many "+sp" echoes in the text are followed by the panel's verdict ("OK" or "ERR") before the
// next echo.
int AnsweredStops(const std::string& text)
{
    int answered = 0;
    for (std::size_t echo = text.find("+sp"); echo != std::string::npos;) {
        const std::size_t next = text.find("+sp", echo + 3);
        const std::string own = text.substr(echo, next == std::string::npos ? std::string::npos : next - echo);
        if (own.find("OK") != std::string::npos || own.find("ERR") != std::string::npos)
            ++answered;
        echo = next;
    }
    return answered;
}

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

void SynchronisePanelClock(TDevVeltra& device, const ControlRef& timeEdit, const ControlRef& timeLabel)
{
    if (device.LinkStopping())
        return;
    const std::string text = ClockText(LocalNow());
    std::string value;
    const bool taken = device.Exchange("+AS=" + text, value, true, "OK\r", 6000, 3) && value != "ERR";
    device.Queue().PostText(timeEdit, text);
    // The text is shown either way; the mark tells whether the panel runs on it.
    if (taken)
        device.MarkConfirmed(timeLabel);
    else
        device.MarkFailed(timeLabel);
}

void StartPanel(TDevVeltra& device)
{
    TModem* link = device.Link();
    if (!link || device.LinkStopping())
        return;
    link->WriteRaw("+qt\r");
    device.Log("com<-+qt");
    std::string answer;
    link->ReadUntil(answer, 600, "OK");
    device.Log(answer);
}

void StopPanel(TDevVeltra& device)
{
    TModem* link = device.Link();
    if (!link || device.LinkStopping() || !link->Phone().empty())
        return;
    for (int i = 0; i < 3; ++i)
        link->WriteRaw("[\r");
    // What the panel sent since the escapes: their refusals and each round's echo with its verdict.
    // A round is judged only once every "+sp" asked so far has its verdict, so that no confirmation
    // is still on its way to the next command's exchange when the job ends.
    std::string received;
    for (int asked = 1; asked <= kMaxStopRounds && !device.LinkStopping(); ++asked) {
        link->WriteRaw("+sp\r");
        device.Log("+sp");
        const std::size_t roundStart = received.size();
        while (AnsweredStops(received) < asked) {
            std::string more;
            link->ReadUntil(more, 200, "OK");
            if (more.empty())
                break;
            received += more;
        }
        std::string answer = received.substr(roundStart);
        device.Log(answer);
        if (AnsweredStops(received) < asked)
            continue;
        RemoveFirst(answer, "+sp");
        RemoveFirst(answer, "OK");
        if (TrimControl(answer).empty())
            return;
    }
}

void RestartPanel(TDevVeltra& device)
{
    TModem* link = device.Link();
    if (!link)
        return;
    // The panel restarts whether or not its confirmation arrives; nothing here can be retried.
    try {
        link->DrainInput();
        std::string answer;
        link->SendCommand("+rb", answer, true, false, true, "OK", 6000, link->Phone().empty() ? 3 : 1);
        link->DrainInput();
    } catch (const std::exception&) {
    }
    link->StopSelf();
}

void TestPanelLamps(TDevVeltra& device)
{
    std::string value;
    device.Exchange("+t", value, true, "", 500, 3);
}

}  // namespace nvx
