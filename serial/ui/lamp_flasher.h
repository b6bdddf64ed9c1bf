#pragma once
// Flashes the signal lamps so a person can see it: a lamp turns red and goes
// back to white a moment later, by a timer, so nothing waits for it. A lamp
// flashed again while lit stays lit for another moment.

#include <QObject>
#include <array>
#include <functional>

#include "serial/instrument_link.h"

class QColor;
class QTimer;

namespace tarvosen::ui {

class LampFlasher : public QObject, public SignalLamps {
    Q_OBJECT
public:
    static constexpr int kLitMilliseconds = 150;

    // paint sets the fill colour of one lamp (the window's lamp widgets).
    explicit LampFlasher(std::function<void(SignalLamp, const QColor&)> paint,
                         QObject* parent = nullptr);

    void flash(SignalLamp lamp) override;

private:
    std::function<void(SignalLamp, const QColor&)> paint_;
    std::array<QTimer*, 9> timers_{};
};

}  // namespace tarvosen::ui
