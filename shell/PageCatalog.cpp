#include "shell/PageCatalog.h"

#include "device/DevVeltra.h"
#include "events/f_history.h"
#include "events/f_honline.h"
#include "pages/f_Bibelot.h"
#include "pages/f_GPRS.h"
#include "pages/f_NVX.h"
#include "pages/f_Radio.h"
#include "pages/f_Razd.h"
#include "pages/f_Shleif.h"
#include "pages/f_common.h"
#include "pages/f_Ways.h"

namespace nvx {

std::vector<std::unique_ptr<TformIncl>> CreatePages(TDevVeltra& device, TformMessageDlg& messageDialog)
{
    std::vector<std::unique_ptr<TformIncl>> pages;
    // In the window's creation order: history, codes, channels, partitions, radio sensors, wired
    // loops, GPRS, system events, SMS, general settings, engineering numbers, keyfobs, radio system
    // characteristics, online event log, radio signal table, smoke detector, motion sensor, radio
    // keypads, then the relay list and relay pages.
    pages.push_back(std::make_unique<TformHistory>(device));
    pages.push_back(std::make_unique<TformWays>(device.Pages()));
    pages.push_back(std::make_unique<TformRazd>(device));
    pages.push_back(std::make_unique<TformRadio>(device, messageDialog));
    pages.push_back(std::make_unique<TformShleif>(device));
    pages.push_back(std::make_unique<TformGPRS>());
    pages.push_back(std::make_unique<TformCommon>(device));
    pages.push_back(std::make_unique<TformBibelot>(device, messageDialog));
    pages.push_back(std::make_unique<TformHonline>(device));
    pages.push_back(std::make_unique<TFormNVX>());
    return pages;
}

}  // namespace nvx
