// The job table and the page dispatch of the device object: page read and write, read all and
// write all in their fixed orders.
#include <array>
#include <vector>

#include "device/DevVeltra.h"
#include "link/xModem.h"

namespace nvx {

namespace {

// Job codes that belong to pages; without their page they do nothing.
constexpr std::array<std::uint8_t, 21> kPageJobs{6,  8,  9,  12, 13, 14, 16, 17, 18, 19, 21,
                                                 22, 24, 25, 26, 29, 30, 36, 37, 38, 39};

bool IsPageJob(std::uint8_t code)
{
    for (auto job : kPageJobs)
        if (job == code)
            return true;
    return code == 41;
}

// Clears the all-pages flag and unlocks the commands however the sequence ends.
struct AllPagesScope {
    TDevVeltra& device;
    std::atomic<bool>& flag;
    ~AllPagesScope()
    {
        device.UnlockCommands();
        flag = false;
    }
};

}  // namespace

const std::vector<int>& ReadAllOrder()
{
    static const std::vector<int> order{page_id::kGeneral,    page_id::kSystemEvents, page_id::kRadioSettings,
                                        page_id::kPartitions, page_id::kRadioSensors, page_id::kWiredLoops,
                                        page_id::kKeyfobs,    page_id::kKeypads,      page_id::kRelayList,
                                        page_id::kCodes,      page_id::kChannels,     page_id::kGprs,
                                        page_id::kSms,        page_id::kEngineerNumbers, page_id::kHistory};
    return order;
}

const std::vector<int>& WriteAllOrder()
{
    static const std::vector<int> order{page_id::kGeneral,       page_id::kSystemEvents, page_id::kGprs,
                                        page_id::kRadioSettings, page_id::kRadioSensors, page_id::kKeyfobs,
                                        page_id::kWiredLoops,    page_id::kPartitions,   page_id::kChannels,
                                        page_id::kEngineerNumbers, page_id::kCodes,      page_id::kSms};
    return order;
}

void TDevVeltra::ResetJob()
{
    if (TModem* link = link_)
        link->SetJob(0);
}

void TDevVeltra::RunJob(std::uint8_t code)
{
    switch (code) {
    case 1:
        Connect();
        return;
    case 3:
        ReadPage();
        break;
    case 4:
        WritePage();
        break;
    case 5:
        ReadAll();
        break;
    case 7:
        WriteAll();
        break;
    default: {
        auto job = jobs_.find(code);
        if (job != jobs_.end()) {
            job->second.first();
            if (!job->second.second)
                return;
            break;
        }
        if (!IsPageJob(code)) {
            KeepAlive();
            return;
        }
        break;
    }
    }
    ResetJob();
}

void TDevVeltra::ReadPage()
{
    IDevicePage* page = currentPage;
    if (!page || page->PageId() == page_id::kSignalTable)
        return;
    abortState = false;
    const bool single = !allPages_;
    if (single)
        LockCommands();
    try {
        page->ReadFromDevice(*this);
    } catch (...) {
        if (single)
            UnlockCommands();
        throw;
    }
    if (single)
        UnlockCommands();
}

void TDevVeltra::WritePage()
{
    IDevicePage* page = currentPage;
    abortState = false;
    const bool single = !allPages_;
    if (single)
        LockCommands();
    try {
        if (page)
            page->WriteToDevice(*this);
    } catch (...) {
        if (single)
            UnlockCommands();
        throw;
    }
    if (single)
        UnlockCommands();
}

void TDevVeltra::ShowPageAndSelect(IDevicePage& page, const std::string& treeCommand)
{
    currentPage = &page;
    queue_.PostText({&page.Form(), page.Form().name()}, "Show");
    if (mainForm_)
        queue_.PostText({mainForm_, "tv1"}, treeCommand);
}

void TDevVeltra::RunAllPages(bool reading)
{
    allPages_ = true;
    LockCommands();
    abortState = false;
    AllPagesScope scope{*this, allPages_};

    auto visit = [&](int id) {
        if ((id == page_id::kKeypads || id == page_id::kRelayList) &&
            !(hooks_.treeHasNode && hooks_.treeHasNode(id)))
            return true;
        IDevicePage* page = pages_.Find(id);
        if (!page)
            return true;
        ShowPageAndSelect(*page, "*" + std::to_string(id));
        if (reading)
            ReadPage();
        else
            WritePage();
        return !LinkStopping() && !abortState;
    };
    for (int id : reading ? ReadAllOrder() : WriteAllOrder())
        if (!visit(id))
            return;
    if (IDevicePage* general = pages_.Find(page_id::kGeneral))
        ShowPageAndSelect(*general, reading ? "*16" : "0");
    queue_.PostNotice(reading ? "Чтение всех параметров завершено!" : "Запись всех параметров завершена!");
}

void TDevVeltra::ReadAll()
{
    RunAllPages(true);
}

void TDevVeltra::WriteAll()
{
    RunAllPages(false);
}

}  // namespace nvx
