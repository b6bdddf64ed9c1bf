#include "serial/hand_over.h"

namespace tarvosen {

void TaskQueue::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
}

bool TaskQueue::serve(std::chrono::milliseconds maxWait) {
    std::deque<std::function<void()>> batch;
    {
        std::unique_lock lock(mutex_);
        if (!ready_.wait_for(lock, maxWait, [this] { return !tasks_.empty(); })) return false;
        batch.swap(tasks_);
    }
    // Tasks run outside the lock: a task may post again (or close the port).
    for (auto& task : batch) task();
    return true;
}

}  // namespace tarvosen
