#include "serial/receive_queue.h"

#include <algorithm>
#include <cstring>

namespace tarvosen {

void ReceiveQueue::reset(std::size_t capacity) {
    std::lock_guard lock(mutex_);
    ring_.assign(std::max<std::size_t>(capacity, 1), '\0');
    head_ = size_ = 0;
}

void ReceiveQueue::clear() {
    std::lock_guard lock(mutex_);
    head_ = size_ = 0;
}

std::size_t ReceiveQueue::size() const {
    std::lock_guard lock(mutex_);
    return size_;
}

std::size_t ReceiveQueue::space() const {
    std::lock_guard lock(mutex_);
    return ring_.size() - size_;
}

std::size_t ReceiveQueue::push(const char* bytes, std::size_t count) {
    std::size_t taken = 0;
    {
        std::lock_guard lock(mutex_);
        const std::size_t cap = ring_.size();
        taken = std::min(count, cap - size_);
        std::size_t tail = (head_ + size_) % cap;
        const std::size_t first = std::min(taken, cap - tail);
        std::memcpy(ring_.data() + tail, bytes, first);
        std::memcpy(ring_.data(), bytes + first, taken - first);
        size_ += taken;
    }
    if (taken) arrived_.notify_all();
    return taken;
}

std::size_t ReceiveQueue::pop(char* out, std::size_t count, std::chrono::milliseconds maxWait) {
    std::unique_lock lock(mutex_);
    if (size_ == 0 && maxWait.count() > 0)
        arrived_.wait_for(lock, maxWait, [this] { return size_ > 0; });
    const std::size_t cap = ring_.size();
    const std::size_t n = std::min(count, size_);
    const std::size_t first = std::min(n, cap - head_);
    std::memcpy(out, ring_.data() + head_, first);
    std::memcpy(out + first, ring_.data(), n - first);
    head_ = (head_ + n) % cap;
    size_ -= n;
    return n;
}

}  // namespace tarvosen
