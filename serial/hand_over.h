#pragma once
// How the serial event thread reaches the user-interface thread. The event
// thread posts a task and waits until it has run (or until the port is closed,
// which cancels it); the front end decides how a posted task gets to its
// user-interface thread: the window queues it into its event loop, the
// command-line program keeps a TaskQueue that its main thread serves.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace tarvosen {

class HandOver {
  public:
    virtual ~HandOver() = default;

    // Queues a task for the user-interface thread; never blocks. Any thread.
    virtual void post(std::function<void()> task) = 0;

    // True when posted tasks run only while the user-interface thread calls
    // serve (the command line); false when an event loop runs them by itself.
    virtual bool servedByCaller() const = 0;

    // Runs the tasks waiting, waiting up to maxWait for the first one; true if
    // any ran. User-interface thread only.
    virtual bool serve(std::chrono::milliseconds maxWait) = 0;
};

// A queue of tasks served by the thread that calls serve.
class TaskQueue : public HandOver {
  public:
    void post(std::function<void()> task) override;
    bool servedByCaller() const override { return true; }
    bool serve(std::chrono::milliseconds maxWait) override;

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace tarvosen
