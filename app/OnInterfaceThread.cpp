#include "app/OnInterfaceThread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <utility>

namespace nvx {

FormModel::Observer OnInterfaceThread(QObject* receiver, FormModel::Observer handler)
{
    return [receiver, handler = std::move(handler)](const std::string& name) {
        if (QThread::currentThread() == receiver->thread())
            handler(name);
        else
            QMetaObject::invokeMethod(
                receiver, [handler, name] { handler(name); }, Qt::QueuedConnection);
    };
}

}  // namespace nvx
