#include "serial/serial_port.h"

#include <poll.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "app/errors.h"

namespace tarvosen {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kAlreadyOpen = "Port already assigned (open) (Error: %d)";
constexpr const char* kDcbError = "Error updating DataControlBlock (Error: %d)";
constexpr const char* kEscapeError = "EscapeCommFunction failure (Error: %d)";
constexpr const char* kNotOpen = "Port not open (Error: %d)";

// Reads return what has arrived, waiting at most this long for the first byte.
constexpr std::chrono::milliseconds kReadWait{1000};

std::string SystemReason(int error) {
    return std::strerror(error);
}

}  // namespace

std::uint32_t BaudRateValue(TBaudRate rate) {
    static constexpr std::uint32_t kRates[kBaudRateCount] = {300,   600,    1200,   2400,  4800,
                                                             9600,  14400,  19200,  38400, 56000,
                                                             57600, 115200, 128000, 256000};
    const int i = static_cast<int>(rate);
    return i >= 0 && i < kBaudRateCount ? kRates[i] : 9600;
}

std::uint32_t EventMaskBit(TCommEventType type) {
    switch (type) {
        case evBreak:
            return ev::kBreak;
        case evCts:
            return ev::kCts;
        case evDsr:
            return ev::kDsr;
        case evError:
            return ev::kError;
        case evRing:
            return ev::kRing;
        case evRlsd:
            return ev::kRlsd;
        case evRxChar:
            return ev::kRxChar;
        case evRxFlag:
            return ev::kRxFlag;
        case evTxEmpty:
            return ev::kTxEmpty;
    }
    return 0;
}

std::uint32_t EventMask(TCommEventTypes events) {
    std::uint32_t mask = 0;
    for (int i = evBreak; i <= evTxEmpty; ++i)
        if (events.has(static_cast<TCommEventType>(i)))
            mask |= EventMaskBit(static_cast<TCommEventType>(i));
    return mask;
}

std::uint32_t WriteTimeoutMultiplier(TBaudRate rate) {
    return 19200u / static_cast<std::uint32_t>(std::max(1, static_cast<int>(rate)));
}

void ThrowCommError(const std::string& templateText, int code, const std::string& reason) {
    std::string text = templateText;
    const auto at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(code));
    if (!reason.empty()) text += ": " + reason;
    throw DeviceError(text);
}

// ---- SerialPort

SerialPort::SerialPort(HandOver& handOver) : handOver_(handOver) {}

SerialPort::~SerialPort() {
    Close();
}

void SerialPort::CreateHandle() {
    lastOpenError_.clear();
    const std::string path = DevicePath(deviceName_);
    if (const int e = device_.open(path)) {
        lastOpenError_ = path + ": " + (e == ENOTTY ? "not a serial device" : SystemReason(e));
        if (path != deviceName_) lastOpenError_ = deviceName_ + " (" + lastOpenError_ + ")";
    }
}

void SerialPort::Open() {
    {
        std::lock_guard guard(lock_);
        if (!Enabled()) {
            CreateHandle();
            if (!Enabled()) return;
            // A write may take the multiplier's milliseconds per byte.
            writeMultiplier_ = WriteTimeoutMultiplier(baudRate_);
            UpdateDataControlBlock();
            // The input queue takes ReadBufSize bytes; the driver's own queues
            // have fixed sizes, so this step cannot fail.
            shared_.received.reset(readBufSize_);
            shared_.lineErrors.store(0);
            shared_.txPending.store(false);
            shared_.lost.store(0);
            eventThread_ =
                std::make_unique<SerialEventThread>(device_, monitorEvents_, shared_, handOver_);
            eventThread_->SetHandler([this](SerialEventThread& sender, std::uint32_t status) {
                HandleCommEvent(sender, status);
            });
            eventThread_->Resume();
            if (!eventThread_->Started()) {
                eventThread_.reset();
                device_.close();
            }
            return;
        }
    }
    ThrowCommError(kAlreadyOpen, -1);
}

void SerialPort::Close() {
    if (!Enabled()) return;
    std::lock_guard guard(lock_);
    ++closeCount_;
    if (eventThread_) {
        eventThread_->SetHandler(nullptr);
        eventThread_->Terminate();
        eventThread_.reset();
    }
    // Bytes a timed-out write left behind are dropped, so closing never waits
    // for a stalled line. Nothing else is: every completed Write has left the
    // computer already, and on a pseudo-terminal the purge would take them
    // from the other end before it has read them.
    device_.purge(true, device_.outputQueue() > 0);
    shared_.received.clear();
    device_.close();
}

int SerialPort::Write(const void* buffer, std::uint32_t count) {
    if (!Enabled()) {
        lastWriteError_ = "the port is not open";
        return -1;
    }
    std::lock_guard guard(lock_);
    lastWriteError_.clear();
    const auto bytes = static_cast<const char*>(buffer);
    const auto allowed = std::chrono::milliseconds(std::uint64_t{writeMultiplier_} * count);
    const auto deadline = Clock::now() + allowed;
    auto timedOut = [&] {
        lastWriteError_ =
            "the device did not take the data within " + std::to_string(allowed.count()) + " ms";
    };

    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = device_.writeSome(bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            lastWriteError_ = SystemReason(errno);
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut();
            break;
        }
        pollfd pfd{device_.fd(), POLLOUT, 0};
        poll(&pfd, 1, static_cast<int>(std::min<std::int64_t>(left.count(), 100)));
    }
    if (done > 0) {
        shared_.txPending.store(true);
        if (eventThread_) eventThread_->Wake();
    }
    // The write is over when the bytes have left the computer, so closing the
    // port afterwards loses nothing.
    while (lastWriteError_.empty()) {
        const int queued = device_.outputQueue();
        if (queued <= 0) break;
        if (Clock::now() >= deadline) {
            timedOut();
            done -= std::min<std::uint32_t>(done, static_cast<std::uint32_t>(queued));
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return static_cast<int>(done);
}

int SerialPort::Read(void* buffer, std::uint32_t count) {
    if (!Enabled()) return -1;
    std::lock_guard guard(lock_);
    if (count == 0) return 0;
    char* out = static_cast<char*>(buffer);
    std::size_t n = 0;
    if (eventThread_) {
        n = shared_.received.pop(out, count, kReadWait);
        if (n > 0) eventThread_->Wake();  // the thread may wait for room in the queue
    } else {
        const ssize_t r = device_.readSome(out, count);
        n = r > 0 ? static_cast<std::size_t>(r) : 0;
    }
    bytesReceived_ += n;
    return static_cast<int>(n);
}

int SerialPort::InQueCount() {
    if (!Enabled()) return -1;
    return static_cast<int>(shared_.received.size()) + device_.inputQueue();
}

void SerialPort::SetModemLine(int (SerialDevice::*set)(bool), bool on) {
    if (!Enabled()) {
        ThrowCommError(
            kNotOpen, -1,
            lastOpenError_.empty() ? "" : "the port could not be opened: " + lastOpenError_);
    }
    std::lock_guard guard(lock_);
    if (const int e = (device_.*set)(on)) ThrowCommError(kEscapeError, e, SystemReason(e));
}

void SerialPort::SetDTRState(bool state) {
    SetModemLine(&SerialDevice::setDtr, state);
}

void SerialPort::SetRTSState(bool state) {
    SetModemLine(&SerialDevice::setRts, state);
}

LineSettings SerialPort::CurrentLineSettings() const {
    LineSettings s;
    s.baudRate = BaudRateValue(baudRate_);
    s.dataBits = 4 + static_cast<int>(dataBits_);
    switch (parity_) {
        case paNone:
            s.parity = LineSettings::Parity::None;
            break;
        case paOdd:
            s.parity = LineSettings::Parity::Odd;
            break;
        case paEven:
            s.parity = LineSettings::Parity::Even;
            break;
        case paMark:
            s.parity = LineSettings::Parity::Mark;
            break;
        case paSpace:
            s.parity = LineSettings::Parity::Space;
            break;
    }
    s.stopBits = stopBits_ == sb10   ? LineSettings::StopBits::One
                 : stopBits_ == sb15 ? LineSettings::StopBits::OneAndHalf
                                     : LineSettings::StopBits::Two;
    s.xonXoff = flowControl_ == fcXonXoff;
    return s;
}

void SerialPort::UpdateDataControlBlock() {
    if (!Enabled()) return;
    shared_.eventChar.store(static_cast<unsigned char>(eventChar_));
    const LineSettings settings = CurrentLineSettings();
    if (const int e = device_.apply(settings)) {
        std::string reason = UnsupportedSetting(settings);
        if (reason.empty()) {
            reason = SystemReason(e);
            if (e == EINVAL)
                reason = DevicePath(deviceName_) + " does not take these settings (" +
                         std::to_string(settings.baudRate) + " baud, " +
                         std::to_string(settings.dataBits) + " data bits)";
        }
        ThrowCommError(kDcbError, e, reason);
    }
}

void SerialPort::UpdateDataControlBlockLock() {
    std::lock_guard guard(lock_);
    UpdateDataControlBlock();
}

void SerialPort::HandleCommEvent(SerialEventThread&, std::uint32_t status) {
    const std::uint64_t closes = closeCount_;
    // The line errors since the last word, and the bytes waiting.
    const int errors = shared_.lineErrors.exchange(0);
    const int waiting = InQueCount();
    // A handler may close the port; then the rest of the word is dropped.
    auto fire = [&](std::uint32_t bit, const TNotifyEvent& handler) {
        if ((status & bit) && handler && closeCount_ == closes) handler(*this);
    };
    fire(ev::kBreak, OnBreak);
    fire(ev::kCts, OnCts);
    fire(ev::kDsr, OnDsr);
    if ((status & ev::kError) && OnError && closeCount_ == closes) OnError(*this, errors);
    fire(ev::kRing, OnRing);
    fire(ev::kRlsd, OnRlsd);
    if ((status & ev::kRxChar) && OnRxChar && waiting > 0 && closeCount_ == closes)
        OnRxChar(*this, static_cast<std::uint32_t>(waiting));
    fire(ev::kRxFlag, OnRxFlag);
    fire(ev::kTxEmpty, OnTxEmpty);
    if ((status & ev::kDeviceLost) && OnDeviceLost && closeCount_ == closes) OnDeviceLost(*this);
}

std::string SerialPort::DeviceLostReason() const {
    const int lost = shared_.lost.load();
    if (lost == 0) return {};
    if (lost == CommSharedState::kHungUp)
        return "the device hung up: it was unplugged or switched off, or its other end closed";
    return SystemReason(lost);
}

// ---- properties

void SerialPort::SetDeviceName(const std::string& name) {
    if (!Enabled()) deviceName_ = name;
}

void SerialPort::SetReadBufSize(std::uint16_t size) {
    if (!Enabled()) readBufSize_ = size;
}

void SerialPort::SetMonitorEvents(TCommEventTypes events) {
    if (!Enabled()) monitorEvents_ = events;
}

template <typename T>
void SerialPort::SetLineProperty(T& field, T value) {
    if (field == value) return;
    field = value;
    UpdateDataControlBlockLock();
}

void SerialPort::SetBaudRate(TBaudRate rate) {
    SetLineProperty(baudRate_, rate);
}
void SerialPort::SetParity(TParity parity) {
    SetLineProperty(parity_, parity);
}
void SerialPort::SetStopBits(TStopBits stopBits) {
    SetLineProperty(stopBits_, stopBits);
}
void SerialPort::SetDataBits(TDataBits dataBits) {
    SetLineProperty(dataBits_, dataBits);
}
void SerialPort::SetFlowControl(TFlowControl flow) {
    SetLineProperty(flowControl_, flow);
}

void SerialPort::SetEventChar(char c) {
    eventChar_ = c;
    if (Enabled()) shared_.eventChar.store(static_cast<unsigned char>(c));
}

}  // namespace tarvosen
