#include "platform/qt/gui_post.h"

#include <QMetaObject>

namespace ksv {

void PostToGui(QObject* context, std::function<void()> task) {
    if (!context || !task)
        return;
    QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
}

} // namespace ksv
