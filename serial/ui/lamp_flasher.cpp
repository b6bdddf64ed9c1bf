#include "serial/ui/lamp_flasher.h"

#include <QColor>
#include <QTimer>

namespace tarvosen::ui {

LampFlasher::LampFlasher(std::function<void(SignalLamp, const QColor&)> paint, QObject* parent)
    : QObject(parent), paint_(std::move(paint)) {
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setInterval(kLitMilliseconds);
        const auto lamp = static_cast<SignalLamp>(i);
        connect(timer, &QTimer::timeout, this, [this, lamp] { paint_(lamp, Qt::white); });
        timers_[i] = timer;
    }
}

void LampFlasher::flash(SignalLamp lamp) {
    paint_(lamp, Qt::red);
    timers_[static_cast<std::size_t>(lamp)]->start();
}

}  // namespace tarvosen::ui
