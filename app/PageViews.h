// The Qt view of each settings page, made by page identifier; pages without a view yet get none.
// Interface thread.
#pragma once

class QWidget;

namespace nvx {

class Session;
class TformIncl;

QWidget* CreatePageView(TformIncl& page, Session& session, QWidget* parent);

}  // namespace nvx
