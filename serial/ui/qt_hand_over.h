#pragma once
// The window's hand-over: a task from the serial event thread is queued into
// the Qt event loop of the window's thread and run there; the event thread
// waits for it (a blocking queued call that closing the port can cancel).

#include <functional>

#include "serial/hand_over.h"

class QObject;

namespace tarvosen::ui {

class QtHandOver : public HandOver {
  public:
    // Tasks run in the thread of context (the main window), while it exists.
    explicit QtHandOver(QObject* context) : context_(context) {}

    void post(std::function<void()> task) override;
    bool servedByCaller() const override { return false; }
    bool serve(std::chrono::milliseconds maxWait) override;

  private:
    QObject* context_;
};

}  // namespace tarvosen::ui
