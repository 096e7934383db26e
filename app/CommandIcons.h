// Pictures of the connect and disconnect commands: a plug in its socket, a plug pulled out.
// Drawn here so they look the same under every style and icon theme. Interface thread.
#pragma once

#include <QIcon>

namespace nvx {

QIcon ConnectIcon();
QIcon DisconnectIcon();

}  // namespace nvx
