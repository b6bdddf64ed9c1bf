#pragma once
// Steps that drive the window as a user would while a command holds it in a
// modal dialog or a background run: a timer tries the current step every
// 50 ms and moves on when it returns true. Used by the screenshot program.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace tarvosen::ui::screenshot {

class Steps {
  public:
    using Step = std::function<bool()>;

    Steps& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    // A step that always succeeds at once.
    Steps& act(std::function<void()> action) {
        return then([action = std::move(action)] {
            action();
            return true;
        });
    }
    // Waits until the modal widget on top is a T, and keeps it in `found`.
    template <typename T>
    Steps& waitForModal(T*& found) {
        return then([&found] {
            auto* top = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!top || !top->isVisible()) return false;
            found = top;
            return true;
        });
    }
    Steps& waitUntil(std::function<bool()> condition) { return then(std::move(condition)); }
    Steps& pause(std::chrono::milliseconds time) {
        return then([time, clock = QElapsedTimer()]() mutable {
            if (!clock.isValid()) clock.start();
            return clock.elapsed() >= time.count();
        });
    }

    // Starts the steps; a step that has not succeeded within `limit` ends the
    // program with status 1, so a changed window fails the run and never hangs.
    void start(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (next_ == steps_.size()) return timer_.stop();
            if (steps_[next_]()) {
                ++next_;
                stepClock_.restart();
            }
        });
        QObject::connect(&watchdog_, &QTimer::timeout, [this, limit] {
            if (next_ < steps_.size() && stepClock_.elapsed() > limit.count()) {
                std::fprintf(stderr, "screenshot: step %zu did not happen\n", next_ + 1);
                std::_Exit(1);
            }
        });
        stepClock_.start();
        timer_.start();
        watchdog_.start(1000);
    }

  private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
    QTimer watchdog_;
    QElapsedTimer stepClock_;
};

}  // namespace tarvosen::ui::screenshot
