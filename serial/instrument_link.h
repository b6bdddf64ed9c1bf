#pragma once
// The main window's side of the serial port: its stored settings, the
// handlers of its nine line events (the signal lamps and TakeReceivedBytes, which
// assembles received bytes into workspace lines) and nothing else. The window
// and the command line both hold one.

#include <array>
#include <cstdint>
#include <string_view>

#include "app/command_context.h"
#include "serial/serial_port.h"

namespace tarvosen {

// The lamps of the port signal panel, one per line event.
enum class SignalLamp { TxEmpty, Break, RxChar, Rlsd, RxFlag, Error, Ring, Dsr, Cts };

class SignalLamps {
  public:
    virtual ~SignalLamps() = default;
    // Lights the lamp briefly; it ends white. Must not block.
    virtual void flash(SignalLamp lamp) = 0;
};

// The most bytes TakeReceivedBytes takes from the port in one event.
inline constexpr std::uint32_t kReceiveChunk = 4999;

// Gives the serial port its stored settings: DeviceName "Com1", all nine
// events monitored.
void ApplyWindowPortSettings(SerialPort& comm);

// Feeds received bytes into PendingLine: CR, LF, CR LF and LF CR each end a
// line and hand it to AppendWorkspaceLine; NUL and Ctrl-Z are dropped, every
// other byte is kept. An END line ends the download: the rest of its burst
// is left out with a warning that counts its bytes (and every later burst
// too while SerialLink::stopAtEnd is set). Returns the number of lines appended.
std::size_t ReceiveBytes(CommandContext& ctx, std::string_view bytes);

class InstrumentLink {
  public:
    // Assigns the nine event handlers of comm; lamps may be null (no panel).
    InstrumentLink(SerialPort& comm, CommandContext& ctx, SignalLamps* lamps);
    ~InstrumentLink();
    InstrumentLink(const InstrumentLink&) = delete;
    InstrumentLink& operator=(const InstrumentLink&) = delete;

    void FlashSignalLamp(SignalLamp lamp);
    void TakeReceivedBytes(SerialPort& sender, std::uint32_t count);
    // Takes what arrived before the device went away, keeps an unended last
    // record as a line, closes the port and tells the user.
    void HandleDeviceLost(SerialPort& sender);

  private:
    SerialPort& comm_;
    CommandContext& ctx_;
    SignalLamps* lamps_;
    std::array<char, kReceiveChunk + 1> buffer_{};
};

}  // namespace tarvosen
