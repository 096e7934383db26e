// The pages the device can dispatch to, by page identifier. Filled once at start-up on the
// interface thread before any link runs; read-only afterwards, so any thread may look up.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/FormModel.h"
#include "device/device.h"

namespace nvx {

class PageDirectory {
public:
    void Register(IDevicePage& page) { pages_[page.PageId()] = &page; }
    IDevicePage* Find(int pageId) const
    {
        auto it = pages_.find(pageId);
        return it == pages_.end() ? nullptr : it->second;
    }
    FormModel* Form(int pageId) const
    {
        IDevicePage* page = Find(pageId);
        return page ? &page->Form() : nullptr;
    }
    // A control of a page; its form is null when the page is not built, and the queue skips it.
    ControlRef Control(int pageId, const std::string& name) const { return {Form(pageId), name}; }

private:
    std::map<int, IDevicePage*> pages_;
};

// Page identifiers.
namespace page_id {
inline constexpr int kWiredLoops = 1;
inline constexpr int kRadioSettings = 2;
inline constexpr int kKeyfobs = 8;
inline constexpr int kChannels = 10;
inline constexpr int kRadioSensors = 12;
inline constexpr int kPartitions = 13;
inline constexpr int kCodes = 14;
inline constexpr int kHistory = 15;
inline constexpr int kGeneral = 16;
inline constexpr int kGprs = 17;
inline constexpr int kSystemEvents = 20;
inline constexpr int kSms = 21;
inline constexpr int kEngineerNumbers = 22;
inline constexpr int kOnlineLog = 29;
inline constexpr int kSignalTable = 33;
inline constexpr int kKeypads = 45;
inline constexpr int kSmokeDetector = 66;
inline constexpr int kMotionSensor = 226;
inline constexpr int kRelayList = 500;
}  // namespace page_id

// The pages read all and write all visit, in their order.
const std::vector<int>& ReadAllOrder();
const std::vector<int>& WriteAllOrder();

}  // namespace nvx
