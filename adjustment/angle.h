#pragma once
// Angles: radians in memory, packed degrees-minutes-seconds text D.MMSSs on
// paper and in instrument records (123.4530 is 123°45'30", 123.45302 is
// 123°45'30.2"), and the two ways of writing an angle back as text: the
// compact "%3d.%02d%02d" form and the record book's degrees/minutes/seconds
// with the odd-second rounding rule.
//
// The helpers are free functions on radians so any caller can use them;
// Angle wraps them for code that wants a type.

#include <string>
#include <string_view>

namespace tarvosen {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kInversePi = 0.31830988618379068;
// Readings within this many radians of a full turn count as a full turn.
inline constexpr double kTurnGuard = 1e-10;

// The three parts of a DmsText.
struct DmsParts {
    std::string degrees;  // with its sign, as written ("-10", "123")
    std::string minutes;  // two digits
    std::string seconds;  // whole seconds and any fraction ("30", "30.2")
};

// Splits "123.45302" into "123", "45", "30.2". Digits missing after the point
// are zeros ("12.3" is 12°30'00", "7" is 7°00'00"), as in any packed number.
DmsParts SplitDmsText(std::string_view text);

// Radians from degrees, minutes and seconds texts: degrees and minutes are
// read as integers, seconds as a decimal number, each leniently (0 when not a
// number). A minus sign before the degrees makes the angle negative, also when
// the degrees are zero ("-0.3000" is minus 30').
double DmsPartsToRadians(std::string_view degrees, std::string_view minutes,
                         std::string_view seconds);

// Radians from a DmsText (blanks around it are ignored).
double DmsTextToRadians(std::string_view text);

// Radians from gon (400 gon to the full circle).
double GonToRadians(double gon);

// Brings an angle into [0, 2π); an angle within kTurnGuard of a full turn
// becomes zero. With `negative` set, a positive result is then moved down by
// one turn, into (−2π, 0]. Infinite and NaN values are left as they are.
void ReduceToTurn(double& angle, bool negative = false);
double ReducedToTurn(double angle, bool negative = false);

// "%3d.%02d%02d": the angle reduced to one turn and rounded to the nearest
// whole second, degrees right-aligned in three places (5°03'07" is
// "  5.0307"). 359°59'59.8" gives "360.0000": the carry does not wrap.
std::string FormatDmsCompact(double angle);

// The record book's rounding. The angle is reduced to one turn and split into
// whole degrees, minutes and seconds; an even whole second is kept as it is
// (its fraction dropped), an odd one is rounded to the nearest second, carrying
// into the minutes and degrees (10°20'59.7" gives 10, 21, 0; 359°59'59.8"
// gives 360, 00, 0). Texts "%3d", "%02d", "%d". Floating-point noise below a
// micro-second of arc is absorbed first, so a reading of whole seconds always
// comes back as itself.
DmsParts SplitDmsRounded(double angle);

// The angle in arc-seconds with anything below 1e-6" rounded away.
double ToArcSeconds(double angle);

}  // namespace tarvosen
