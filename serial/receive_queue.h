#pragma once
// The input queue of the serial port component: the event thread takes bytes
// from the device into it and the component's Read hands them out on the
// user-interface thread. Its capacity bounds the memory of the receive path;
// when it is full the thread leaves further bytes in the device.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace tarvosen {

class ReceiveQueue {
  public:
    explicit ReceiveQueue(std::size_t capacity = 4096) { reset(capacity); }

    // Empties the queue and gives it a new capacity (at least one byte).
    void reset(std::size_t capacity);
    void clear();

    std::size_t size() const;
    std::size_t space() const;

    // Appends up to space() bytes; returns how many were taken.
    std::size_t push(const char* bytes, std::size_t count);
    // Takes up to count bytes; waits up to maxWait for the first one.
    std::size_t pop(char* out, std::size_t count,
                    std::chrono::milliseconds maxWait = std::chrono::milliseconds(0));

  private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<char> ring_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

// What the component and its event thread share besides the queue: the line
// errors found since the last event word was dispatched, and whether a write
// is waiting for the output queue to run empty, and the event character.
struct CommSharedState {
    ReceiveQueue received;
    std::atomic<int> lineErrors{0};
    std::atomic<bool> txPending{false};
    std::atomic<unsigned char> eventChar{0};  // EvtChar: its arrival is evRxFlag
    // Why the device went away (an errno value, or kHungUp), 0 while it is there.
    static constexpr int kHungUp = -1;
    std::atomic<int> lost{0};
};

}  // namespace tarvosen
