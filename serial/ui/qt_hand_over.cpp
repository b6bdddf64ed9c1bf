#include "serial/ui/qt_hand_over.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace tarvosen::ui {

void QtHandOver::post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

bool QtHandOver::serve(std::chrono::milliseconds maxWait) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(maxWait.count()));
    return true;
}

}  // namespace tarvosen::ui
