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

// The five special characters of the line settings. Setting one re-applies
// the settings of an open port.
class SerialEventChars {
  public:
    explicit SerialEventChars(SerialPort& owner) : owner_(owner) {}
    SerialEventChars& operator=(const SerialEventChars& other);  // copies the five characters

    char XOnChar() const { return xOn_; }
    char XOffChar() const { return xOff_; }
    char ErrorChar() const { return error_; }
    char EofChar() const { return eof_; }
    char EvtChar() const { return evt_; }
    void SetXOnChar(char c) { Set(xOn_, c); }
    void SetXOffChar(char c) { Set(xOff_, c); }
    void SetErrorChar(char c) { Set(error_, c); }
    void SetEofChar(char c) { Set(eof_, c); }
    void SetEvtChar(char c) { Set(evt_, c); }

  private:
    void Set(char& field, char c);

    SerialPort& owner_;
    char xOn_ = 17, xOff_ = 19, error_ = 0, eof_ = 0, evt_ = 0;
};

// Handlers: Sender is always the component.
using TNotifyEvent = std::function<void(SerialPort& sender)>;
using TCommErrorEvent = std::function<void(SerialPort& sender, int errors)>;
using TCommRxCharEvent = std::function<void(SerialPort& sender, std::uint32_t count)>;
using TCommStatEvent =
    std::function<void(SerialPort& sender, std::uint32_t status, const TComStat& comStat)>;

// The component's failures: DeviceError with the component's message.
[[noreturn]] void ThrowCommError(const std::string& templateText, int code,
                                 const std::string& reason = {});

class SerialPort {
  public:
    // Events reach the handlers through handOver, which must outlive the component.
    explicit SerialPort(HandOver& handOver);
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    void Open();
    void Close();
    bool Enabled() const { return device_.isOpen(); }
    void CheckOpen() const;

    // Bytes written, or -1 when the port is closed. Returns when the bytes
    // have left the computer's queue, or the write failed or timed out.
    int Write(const void* buffer, std::uint32_t count);
    // Bytes read (at most count), or -1 when closed.
    int Read(void* buffer, std::uint32_t count);
    int InQueCount();
    int OutQueCount();
    void PurgeIn();
    void PurgeOut();

    bool GetModemState(int which) const;  // 1 CTS, 2 DSR, 3 ring, 4 RLSD
    bool GetComState(
        int which);  // 2 DSR hold, 3 RLSD hold, 4 XOFF hold, 5 XOFF sent, else CTS hold
    void SetDTRState(bool state);
    void SetRTSState(bool state);
    void SetXONState(bool state);
    void SetBREAKState(bool state);
    void EscapeComm(int code);

    void UpdateDataControlBlock();
    void UpdateDataControlBlockLock();
    void UpdateCommTimeouts();
    void HandleCommEvent(SerialEventThread& sender, std::uint32_t status);

    void Lock() { lock_.lock(); }
    void Unlock() { lock_.unlock(); }

    // Properties.
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& name);
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms; }
    int WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(int ms) { writeTimeout_ = ms; }
    std::uint16_t ReadBufSize() const { return readBufSize_; }
    void SetReadBufSize(std::uint16_t size);
    std::uint16_t WriteBufSize() const { return writeBufSize_; }
    void SetWriteBufSize(std::uint16_t size);
    std::uint32_t SuspendTime() const { return suspendTime_; }
    void SetSuspendTime(std::uint32_t time);
    TCommEventTypes MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TCommEventTypes events);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits stopBits);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits dataBits);
    SerialEventChars& EventChars() { return eventChars_; }
    TCommOptions Options() const { return options_; }
    void SetOptions(TCommOptions options);
    TFlowControl FlowControl() const { return flowControl_; }
    void SetFlowControl(TFlowControl flow);

    TNotifyEvent OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty;
    TCommErrorEvent OnError;
    TCommRxCharEvent OnRxChar;
    TCommStatEvent OnComStatEvent;
    // The device went away while the port was open (unplugged, switched off,
    // the other end of a pseudo-terminal closed). Runs once, after the bytes
    // that arrived before it; the port stays open until a handler closes it.
    TNotifyEvent OnDeviceLost;

    // What the port's events go through, so a command on the command line
    // can serve them while it waits.
    HandOver& Events() { return handOver_; }
    // The write time-out in milliseconds per byte set by the last Open.
    std::uint32_t WriteTimeoutMultiplier() const { return writeMultiplier_; }
    // Why the last Write fell short, why the last Open left the port closed.
    const std::string& LastWriteError() const { return lastWriteError_; }
    const std::string& LastOpenError() const { return lastOpenError_; }
    // Why the device went away since the last Open, or empty. Kept after Close.
    std::string DeviceLostReason() const;
    // Bytes handed out by Read since construction.
    std::uint64_t BytesReceived() const { return bytesReceived_; }
    // The line settings the properties stand for.
    LineSettings CurrentLineSettings() const;

  protected:
    // Opens the device only; a device that cannot be opened leaves the port closed.
    virtual void CreateHandle();
    void DestroyHandle();

  private:
    // The device's error flags since the last call, and its status record.
    int ClearCommError(TComStat* stat);
    template <typename T>
    void SetLineProperty(T& field, T value);

    HandOver& handOver_;
    SerialDevice device_;
    CommSharedState shared_;
    std::unique_ptr<SerialEventThread> eventThread_;
    std::recursive_mutex lock_;
    std::uint64_t closeCount_ = 0;  // a dispatch stops when the port closes under it

    std::string deviceName_ = "Com2";
    int readTimeout_ = 1000;
    int writeTimeout_ = 1000;
    std::uint16_t readBufSize_ = 4096;
    std::uint16_t writeBufSize_ = 2048;
    std::uint32_t suspendTime_ = 5;
    TCommEventTypes monitorEvents_ = kAllCommEvents;
    TBaudRate baudRate_ = br9600;
    TParity parity_ = paNone;
    TStopBits stopBits_ = sb10;
    TDataBits dataBits_ = da8;
    SerialEventChars eventChars_{*this};
    TCommOptions options_;
    TFlowControl flowControl_ = fcDefault;

    std::uint32_t writeMultiplier_ = 0;
    std::uint32_t readTotalMs_ = 1000;
    std::string lastWriteError_;
    std::string lastOpenError_;
    std::uint64_t bytesReceived_ = 0;
};


// The ordinal-based write time-out multiplier in ms per byte (19200 divided by
// the rate's ordinal; 300 baud, whose ordinal is 0, gets 600 baud's 19200).
std::uint32_t WriteTimeoutMultiplier(TBaudRate rate);

}  // namespace tarvosen
