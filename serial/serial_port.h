#pragma once
// The serial port component: one serial device with typed line settings, read
// and write, and line events delivered to handlers on the user-interface
// thread. All operations and all handlers belong to the user-interface
// thread; the event thread only waits on the device and hands event words
// over (see SerialEventThread and HandOver).

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "serial/comm_event_thread.h"
#include "serial/comm_types.h"
#include "serial/hand_over.h"
#include "serial/receive_queue.h"
#include "serial/serial_device.h"

namespace tarvosen {

class SerialPort;

// Handlers: Sender is always the component.
using TNotifyEvent = std::function<void(SerialPort& sender)>;
using TCommErrorEvent = std::function<void(SerialPort& sender, int errors)>;
using TCommRxCharEvent = std::function<void(SerialPort& sender, std::uint32_t count)>;

// The component's failures: DeviceError with the component's message.
[[noreturn]] void ThrowCommError(const std::string& templateText, int code,
                                 const std::string& reason = {});

class SerialPort {
  public:
    // Events reach the handlers through handOver, which must outlive the component.
    explicit SerialPort(HandOver& handOver);
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    void Open();
    void Close();
    bool Enabled() const { return device_.isOpen(); }

    // Bytes written, or -1 when the port is closed. Returns when the bytes
    // have left the computer's queue, or the write failed or timed out (the
    // multiplier's milliseconds per byte, WriteTimeoutMultiplier of the rate
    // at Open).
    int Write(const void* buffer, std::uint32_t count);
    // Bytes read (at most count), or -1 when closed.
    int Read(void* buffer, std::uint32_t count);
    // Bytes received and not read yet, or -1 when closed.
    int InQueCount();

    void SetDTRState(bool state);
    void SetRTSState(bool state);

    // Runs the handlers of one event word; the event thread calls it on the
    // user-interface thread.
    void HandleCommEvent(SerialEventThread& sender, std::uint32_t status);

    // Properties.
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& name);
    // The size of the input queue; takes effect at the next Open.
    void SetReadBufSize(std::uint16_t size);
    void SetMonitorEvents(TCommEventTypes events);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits stopBits);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits dataBits);
    TFlowControl FlowControl() const { return flowControl_; }
    void SetFlowControl(TFlowControl flow);
    // The character whose arrival raises OnRxFlag (NUL until set).
    void SetEventChar(char c);

    TNotifyEvent OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty;
    TCommErrorEvent OnError;
    TCommRxCharEvent OnRxChar;
    // The device went away while the port was open (unplugged, switched off,
    // the other end of a pseudo-terminal closed). Runs once, after the bytes
    // that arrived before it; the port stays open until a handler closes it.
    TNotifyEvent OnDeviceLost;

    // What the port's events go through, so a command on the command line
    // can serve them while it waits.
    HandOver& Events() { return handOver_; }
    // Why the last Write fell short.
    const std::string& LastWriteError() const { return lastWriteError_; }
    // Why the device went away since the last Open, or empty. Kept after Close.
    std::string DeviceLostReason() const;
    // Bytes handed out by Read since construction.
    std::uint64_t BytesReceived() const { return bytesReceived_; }
    // The line settings the properties stand for.
    LineSettings CurrentLineSettings() const;

  private:
    // Opens the device only; a device that cannot be opened leaves the port closed.
    void CreateHandle();
    void UpdateDataControlBlock();
    void UpdateDataControlBlockLock();
    void SetModemLine(int (SerialDevice::*set)(bool), bool on);
    template <typename T>
    void SetLineProperty(T& field, T value);

    HandOver& handOver_;
    SerialDevice device_;
    CommSharedState shared_;
    std::unique_ptr<SerialEventThread> eventThread_;
    std::recursive_mutex lock_;
    std::uint64_t closeCount_ = 0;  // a dispatch stops when the port closes under it

    std::string deviceName_ = "Com2";
    std::uint16_t readBufSize_ = 4096;
    TCommEventTypes monitorEvents_ = kAllCommEvents;
    TBaudRate baudRate_ = br9600;
    TParity parity_ = paNone;
    TStopBits stopBits_ = sb10;
    TDataBits dataBits_ = da8;
    TFlowControl flowControl_ = fcDefault;
    char eventChar_ = 0;

    std::uint32_t writeMultiplier_ = 0;
    std::string lastWriteError_;
    std::string lastOpenError_;
    std::uint64_t bytesReceived_ = 0;
};

// The ordinal-based write time-out multiplier in ms per byte (19200 divided by
// the rate's ordinal; 300 baud, whose ordinal is 0, gets 600 baud's 19200).
std::uint32_t WriteTimeoutMultiplier(TBaudRate rate);

}  // namespace tarvosen
