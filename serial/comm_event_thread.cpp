#include "serial/comm_event_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <vector>

namespace tarvosen {

namespace {

// The most the thread takes from the device in one read.
constexpr std::size_t kReadChunk = 64 * 1024;

// The event bits of the changes between two readings of the UART counters.
std::uint32_t CounterEvents(const LineCounters& was, const LineCounters& now, int& errors) {
    std::uint32_t word = 0;
    if (now.cts != was.cts) word |= ev::kCts;
    if (now.dsr != was.dsr) word |= ev::kDsr;
    if (now.dcd != was.dcd) word |= ev::kRlsd;
    if (now.ring != was.ring) word |= ev::kRing;
    if (now.breaks != was.breaks) {
        word |= ev::kBreak;
        errors |= ce::kBreak;
    }
    if (now.frame != was.frame) errors |= ce::kFrame;
    if (now.overrun != was.overrun) errors |= ce::kOverrun;
    if (now.parity != was.parity) errors |= ce::kRxParity;
    if (now.bufferOverrun != was.bufferOverrun) errors |= ce::kRxOver;
    if (errors & ~ce::kBreak) word |= ev::kError;
    return word;
}

std::uint32_t LineEvents(int was, int now) {
    const int changed = was ^ now;
    std::uint32_t word = 0;
    if (changed & modem::kCts) word |= ev::kCts;
    if (changed & modem::kDsr) word |= ev::kDsr;
    if (changed & modem::kRlsd) word |= ev::kRlsd;
    if ((changed & modem::kRing) && (now & modem::kRing)) word |= ev::kRing;
    return word;
}

}  // namespace

struct SerialEventThread::PendingCall {
    std::mutex mutex;
    std::condition_variable cv;
    bool finished = false;
    bool cancelled = false;
};

SerialEventThread::SerialEventThread(SerialDevice& device, TCommEventTypes events,
                                     CommSharedState& shared, HandOver& handOver)
    : device_(device),
      shared_(shared),
      handOver_(handOver),
      mask_(tarvosen::EventMask(events)) {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

SerialEventThread::~SerialEventThread() {
    Terminate();
    if (wakeFd_ >= 0) close(wakeFd_);
}

void SerialEventThread::Resume() {
    if (worker_.joinable() || StopRequested()) return;
    worker_ = std::thread([this] { Run(); });
}

void SerialEventThread::Wake() {
    if (wakeFd_ < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void SerialEventThread::Terminate() {
    stop_.store(true, std::memory_order_release);
    {
        std::lock_guard lock(callMutex_);
        if (current_) {
            std::lock_guard callLock(current_->mutex);
            current_->cancelled = true;
            current_->cv.notify_all();
        }
    }
    Wake();
    if (worker_.joinable()) worker_.join();
}

bool SerialEventThread::Dispatch(std::uint32_t word) {
    auto call = std::make_shared<PendingCall>();
    {
        std::lock_guard lock(callMutex_);
        if (StopRequested()) return false;
        current_ = call;
    }
    handOver_.post([this, call, word] {
        {
            std::lock_guard lock(call->mutex);
            if (call->cancelled) return;  // the port was closed: this object may be gone
        }
        // A copy: a handler may close the port, which ends this thread object.
        const Handler handler = handler_;
        if (handler) handler(*this, word);
        {
            std::lock_guard lock(call->mutex);
            call->finished = true;
        }
        call->cv.notify_all();
    });
    {
        std::unique_lock lock(call->mutex);
        call->cv.wait(lock, [&] { return call->finished || call->cancelled; });
    }
    {
        std::lock_guard lock(callMutex_);
        current_.reset();
    }
    return !StopRequested();
}

std::uint32_t SerialEventThread::PollLines() {
    std::uint32_t word = 0;
    if (counters_) {
        if (auto now = device_.counters()) {
            int errors = 0;
            word |= CounterEvents(*counters_, *now, errors);
            if (errors) shared_.lineErrors.fetch_or(errors);
            counters_ = now;
        }
    } else if (lines_) {
        if (auto now = device_.modemLines()) {
            word |= LineEvents(*lines_, *now);
            lines_ = now;
        }
    }
    if (shared_.txPending.load() && device_.outputQueue() == 0) {
        shared_.txPending.store(false);
        word |= ev::kTxEmpty;
    }
    return word;
}

void SerialEventThread::Run() {
    counters_ = device_.counters();
    lines_ = device_.modemLines();
    std::vector<char> chunk(kReadChunk);
    bool leftover = false;  // bytes remain after a handler took some: offer them again
    bool hungUp = false;    // the device gave nothing: look again after one period
    bool lost = false;      // the device went away for good: wait for Close only
    bool lostReported = false;

    while (!StopRequested()) {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {device_.fd(), POLLIN, 0}};
        const bool watchDevice = !lost && !hungUp && shared_.received.space() > 0;
        const bool polled = !lost && (counters_ || lines_ || shared_.txPending.load() || hungUp);
        const int timeout = leftover ? 0 : polled ? static_cast<int>(kPollPeriod.count()) : -1;
        if (poll(fds, watchDevice ? 2 : 1, timeout) < 0 && errno != EINTR) hungUp = true;
        if (StopRequested()) break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        }
        hungUp = false;

        std::uint32_t word = 0;
        if (watchDevice && fds[1].revents) {
            const std::size_t room = std::min(shared_.received.space(), chunk.size());
            const ssize_t n = device_.readSome(chunk.data(), room);
            if (n > 0) {
                shared_.received.push(chunk.data(), static_cast<std::size_t>(n));
                word |= ev::kRxChar;
                if (std::memchr(chunk.data(), shared_.eventChar.load(),
                                static_cast<std::size_t>(n)))
                    word |= ev::kRxFlag;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                const int error = n < 0 ? errno : 0;
                hungUp = true;
                // A hang-up (an unplugged adapter, a pseudo-terminal whose
                // other end closed) or a device error does not pass: the
                // device is reported lost once, and nothing more is read.
                if ((fds[1].revents & (POLLHUP | POLLERR)) || error == EIO || error == ENXIO ||
                    error == ENODEV) {
                    lost = true;
                    shared_.lost.store(error ? error : CommSharedState::kHungUp);
                }
            }
        }
        if (leftover && shared_.received.size() > 0) word |= ev::kRxChar;
        if (!lost) word |= PollLines();
        word &= mask_;
        if (lost && !lostReported) {
            word |= ev::kDeviceLost;
            lostReported = true;
        }
        leftover = false;
        if (word == 0) continue;

        const std::size_t before = shared_.received.size();
        if (!Dispatch(word)) break;
        const std::size_t after = shared_.received.size();
        leftover = (word & ev::kRxChar) && after > 0 && after < before;
    }
}

}  // namespace tarvosen
