// The abstract device the link thread runs jobs on, and the page interface through which the
// device reaches the pages without knowing them. Jobs run on the link thread; the current
// page and the abort state are also written by the interface thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "link/LinkClient.h"

namespace nvx {

class FormModel;
class TDevVeltra;

// A settings page as the device sees it: its identifier, its controls and its exchanges.
class IDevicePage {
public:
    virtual ~IDevicePage() = default;
    virtual int PageId() const = 0;
    virtual FormModel& Form() = 0;
    // The page read and write with their companion operations; companions are skipped while
    // an all-pages operation runs (TDevVeltra::AllPages()). Link thread.
    virtual void ReadFromDevice(TDevVeltra& device) = 0;
    virtual void WriteToDevice(TDevVeltra& device) = 0;
};

class TDevice : public TLinkClient {
public:
    virtual void ReadPage() = 0;
    virtual void WritePage() = 0;
    virtual void ReadAll() = 0;
    virtual void WriteAll() = 0;

    // The page the user is looking at.
    std::atomic<IDevicePage*> currentPage{nullptr};
};

}  // namespace nvx
