#pragma once
// The typed line settings of the serial port component, the event-mask bits
// and the small records its operations pass around.

#include <cstdint>
#include <initializer_list>

namespace tarvosen {

enum TBaudRate {
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
};
inline constexpr int kBaudRateCount = 14;
// The number of bits per second of a rate.
std::uint32_t BaudRateValue(TBaudRate rate);

enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits { sb10, sb15, sb20 };
enum TDataBits { da4, da5, da6, da7, da8 };
enum TFlowControl { fcNone, fcCTS, fcDTR, fcXonXoff, fcDefault };
enum TCommEventType {
    evBreak,
    evCts,
    evDsr,
    evError,
    evRing,
    evRlsd,
    evRxChar,
    evRxFlag,
    evTxEmpty,
};

// A set of enumeration members, as the component's set-typed properties hold.
template <typename E>
class EnumSet {
  public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> members) {
        for (E m : members) insert(m);
    }
    static constexpr EnumSet FromBits(std::uint32_t bits) {
        EnumSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool has(E m) const { return (bits_ >> static_cast<int>(m)) & 1u; }
    constexpr void insert(E m) { bits_ |= 1u << static_cast<int>(m); }
    constexpr void erase(E m) { bits_ &= ~(1u << static_cast<int>(m)); }
    constexpr std::uint32_t bits() const { return bits_; }
    constexpr bool operator==(const EnumSet&) const = default;

  private:
    std::uint32_t bits_ = 0;
};

using TCommEventTypes = EnumSet<TCommEventType>;

inline constexpr TCommEventTypes kAllCommEvents = TCommEventTypes::FromBits(0x1FF);

// Event-mask bits of one event word.
namespace ev {
inline constexpr std::uint32_t kRxChar = 0x0001;
inline constexpr std::uint32_t kRxFlag = 0x0002;
inline constexpr std::uint32_t kTxEmpty = 0x0004;
inline constexpr std::uint32_t kCts = 0x0008;
inline constexpr std::uint32_t kDsr = 0x0010;
inline constexpr std::uint32_t kRlsd = 0x0020;
inline constexpr std::uint32_t kBreak = 0x0040;
inline constexpr std::uint32_t kError = 0x0080;
inline constexpr std::uint32_t kRing = 0x0100;
// Not a line event and never masked: the device went away (an unplugged
// adapter, a pseudo-terminal whose other end closed). Sent once.
inline constexpr std::uint32_t kDeviceLost = 0x80000000;
}  // namespace ev

// The mask bit of an event type, and the OR of the bits of a set.
std::uint32_t EventMaskBit(TCommEventType type);
std::uint32_t EventMask(TCommEventTypes events);

// Line error flags handed to OnError.
namespace ce {
inline constexpr int kRxOver = 0x0001;   // the input queue overflowed
inline constexpr int kOverrun = 0x0002;  // the UART lost a byte
inline constexpr int kRxParity = 0x0004;
inline constexpr int kFrame = 0x0008;
inline constexpr int kBreak = 0x0010;
}  // namespace ce

}  // namespace tarvosen
