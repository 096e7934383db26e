// Hands a form model's notices to a widget on the interface thread, whichever thread changed the
// model (the update queue writes from the link's thread). Made on the interface thread, called on any.
#pragma once

#include "core/FormModel.h"

class QObject;

namespace nvx {

// An observer that runs `handler` at once on the receiver's thread and queues it there from any
// other; a queued notice is dropped when the receiver is gone by then.
FormModel::Observer OnInterfaceThread(QObject* receiver, FormModel::Observer handler);

}  // namespace nvx
