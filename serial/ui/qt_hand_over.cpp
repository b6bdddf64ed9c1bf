#include "serial/ui/qt_hand_over.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <QVariant>

namespace tarvosen::ui {

namespace {

// While a command runs in the background it owns a copy of the workspace, so
// received bytes wait in the port until it has ended and the window has taken
// its result; then they are appended to that.
constexpr int kBusyRetryMilliseconds = 50;

void RunWhenIdle(QPointer<QObject> context, std::function<void()> task) {
    if (!context) return;
    if (context->property("commandRunning").toBool()) {
        QTimer::singleShot(kBusyRetryMilliseconds, context,
                           [context, task = std::move(task)]() mutable {
                               RunWhenIdle(context, std::move(task));
                           });
        return;
    }
    task();
}

}  // namespace

void QtHandOver::post(std::function<void()> task) {
    QObject* context = context_;
    QMetaObject::invokeMethod(
        context_,
        [context, task = std::move(task)]() mutable {
            RunWhenIdle(QPointer<QObject>(context), std::move(task));
        },
        Qt::QueuedConnection);
}

bool QtHandOver::serve(std::chrono::milliseconds maxWait) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(maxWait.count()));
    return true;
}

}  // namespace tarvosen::ui
