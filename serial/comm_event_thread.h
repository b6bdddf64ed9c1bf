#pragma once
// The event thread of the serial port component. It waits for line events on
// the device and hands each event word to the user-interface thread, waiting
// there until the handlers have run. Received bytes, the event character and
// Close's wake-up are waited for directly (poll); modem lines, line errors,
// breaks and the output queue running empty are read on every turn and
// compared with the last turn, at least every kPollPeriod while the device
// has such lines or a write is pending.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "serial/comm_types.h"
#include "serial/hand_over.h"
#include "serial/receive_queue.h"
#include "serial/serial_device.h"

namespace tarvosen {

class SerialEventThread {
  public:
    // Sender is the thread, Status the event word.
    using Handler = std::function<void(SerialEventThread& sender, std::uint32_t status)>;

    static constexpr std::chrono::milliseconds kPollPeriod{20};

    // Created suspended. The device, the shared state and the hand-over must
    // outlive the thread (the component terminates it before closing them).
    SerialEventThread(SerialDevice& device, TCommEventTypes events, CommSharedState& shared,
                      HandOver& handOver);
    ~SerialEventThread();
    SerialEventThread(const SerialEventThread&) = delete;
    SerialEventThread& operator=(const SerialEventThread&) = delete;

    // The dispatch target; set and cleared on the user-interface thread only.
    void SetHandler(Handler handler) { handler_ = std::move(handler); }
    void Resume();
    // Stops the thread and waits for it: cancels a hand-over it is waiting in
    // (its task will do nothing when it runs) and wakes its device wait.
    // Safe from inside a handler the thread is waiting for.
    void Terminate();
    // Wakes the device wait, so the thread looks at the device again (the
    // input queue has room, a write is pending).
    void Wake();

    bool Started() const { return worker_.joinable(); }
    std::uint32_t EventMask() const { return mask_; }

  private:
    struct PendingCall;

    void Run();
    // Hands the word over and waits; false once the thread is told to stop.
    bool Dispatch(std::uint32_t word);
    std::uint32_t PollLines();
    bool StopRequested() const { return stop_.load(std::memory_order_acquire); }

    SerialDevice& device_;
    CommSharedState& shared_;
    HandOver& handOver_;
    const std::uint32_t mask_;
    Handler handler_;

    int wakeFd_ = -1;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::mutex callMutex_;  // guards current_ against Terminate
    std::shared_ptr<PendingCall> current_;

    // Last readings of the polled lines (event thread only).
    std::optional<int> lines_;
    std::optional<LineCounters> counters_;
};

}  // namespace tarvosen
