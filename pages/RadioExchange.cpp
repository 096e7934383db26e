#include "pages/RadioExchange.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/DevVeltra.h"
#include "link/xModem.h"

namespace nvx {

namespace {

constexpr std::uint32_t kSliceMs = 500;
constexpr std::uint32_t kPauseStepMs = 50;
constexpr std::uint32_t kModeSettleMs = 100;
// The main window's status bar panel that shows the panel's mode from "+l".
constexpr const char* kStatusBar = "StatusBar1";
constexpr std::size_t kModePanel = 4;
constexpr const char* kWorkingMode = "Рабочий";

bool Stopped(TDevVeltra& device) { return device.abortState || device.LinkStopping(); }

}  // namespace

bool CollectSlice(TDevVeltra& device, std::string& collected)
{
    TModem* link = device.Link();
    if (!link || device.LinkStopping())
        return false;
    std::string slice;
    link->ReadUntil(slice, kSliceMs, "OK");
    if (!slice.empty()) {
        link->Log("-> com: " + slice);
        int code = TModem::kOk;
        if (!link->CheckReply(false, slice, code, ReplyKind::LineWatch))
            device.abortState = true;
    }
    collected += slice;
    return !device.LinkStopping();
}

SliceWait CollectUntilOk(TDevVeltra& device)
{
    std::string collected;
    while (!Stopped(device)) {
        if (!CollectSlice(device, collected))
            break;
        if (collected.find("OK") != std::string::npos)
            return SliceWait::Accepted;
        if (collected.find("ERR") != std::string::npos)
            return SliceWait::Refused;
    }
    return SliceWait::Stopped;
}

void PauseUnlessStopping(TDevVeltra& device, std::uint32_t ms)
{
    for (std::uint32_t slept = 0; slept < ms && !device.LinkStopping(); slept += kPauseStepMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kPauseStepMs, ms - slept)));
}

void ReturnToWorkingMode(TDevVeltra& device)
{
    PauseUnlessStopping(device, kModeSettleMs);
    FormModel* window = device.MainWindow();
    if (!window || !window->has(kStatusBar))
        return;
    const std::vector<std::string> panels = window->get(kStatusBar).items;
    if (panels.size() > kModePanel && panels[kModePanel] == kWorkingMode)
        device.WriteValue("+l=0");
}

}  // namespace nvx
