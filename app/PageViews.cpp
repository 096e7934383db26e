#include "app/PageViews.h"

#include "app/BibelotPageView.h"
#include "app/CommonPageView.h"
#include "app/GprsPageView.h"
#include "app/HistoryPageView.h"
#include "app/HonlinePageView.h"
#include "app/NvxPageView.h"
#include "app/RadioPageView.h"
#include "app/RazdPageView.h"
#include "app/ShleifPageView.h"
#include "app/WaysPageView.h"
#include "device/PageDirectory.h"
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
#include "shell/Session.h"

namespace nvx {

QWidget* CreatePageView(TformIncl& page, Session& /*session*/, QWidget* parent)
{
    switch (page.PageId()) {
    case page_id::kGeneral:
        return new CommonPageView(static_cast<TformCommon&>(page), parent);
    case page_id::kMotionSensor:
        return new NvxPageView(static_cast<TFormNVX&>(page), parent);
    case page_id::kChannels:
        return new WaysPageView(static_cast<TformWays&>(page), parent);
    case page_id::kGprs:
        return new GprsPageView(static_cast<TformGPRS&>(page), parent);
    case page_id::kHistory:
        return new HistoryPageView(static_cast<TformHistory&>(page), parent);
    case page_id::kOnlineLog:
        return new HonlinePageView(static_cast<TformHonline&>(page), parent);
    case page_id::kKeyfobs:
        return new BibelotPageView(static_cast<TformBibelot&>(page), parent);
    case page_id::kRadioSensors:
        return new RadioPageView(static_cast<TformRadio&>(page), parent);
    case page_id::kPartitions:
        return new RazdPageView(static_cast<TformRazd&>(page), parent);
    case page_id::kWiredLoops:
        return new ShleifPageView(static_cast<TformShleif&>(page), parent);
    default:
        return nullptr;
    }
}

}  // namespace nvx
