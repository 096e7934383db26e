#include "app/PageViews.h"

#include "app/NvxPageView.h"
#include "device/PageDirectory.h"
#include "pages/f_NVX.h"
#include "shell/Session.h"

namespace nvx {

QWidget* CreatePageView(TformIncl& page, Session& /*session*/, QWidget* parent)
{
    switch (page.PageId()) {
    case page_id::kMotionSensor:
        return new NvxPageView(static_cast<TFormNVX&>(page), parent);
    default:
        return nullptr;
    }
}

}  // namespace nvx
