#pragma once
// Angles as the Zeiss records write them.

#include <string>
#include <string_view>

namespace tarvosen::zeiss {

// An R5 angle value in radians. Values whose unit is gon ("gon " or the
// instrument's "grd ") are read as gon, "DEG" as decimal degrees; every other
// unit as the packed degrees-minutes-seconds text D.MMSSs (the readers refuse
// units they do not read before they get here).
double R5AngleToRadians(std::string_view value, std::string_view unit);

// True for the units that mean gon (400 to the full circle).
bool IsGonUnit(std::string_view unit);

}  // namespace tarvosen::zeiss
