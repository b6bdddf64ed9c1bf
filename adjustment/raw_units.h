#pragma once
// The units of a Nikon raw file, as its "CO,Angle Units:", "CO,Dist Units:",
// "CO,Zero VA:" and "CO,Coord Order:" lines name them, and the conversion of
// its fields into the units every export writes: packed
// degrees-minutes-seconds (DmsText), zenith angles and metres. A file without
// these lines is in DDDMMSS, zenith angles, metres and north-east order.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvosen {

enum class RawAngleUnit { PackedDms, Gon, DecimalDegrees };

// Where the vertical angles are counted from: the zenith; the horizon,
// upwards round the full circle (face II between 90° and 270°); or the
// horizon as an elevation within ±90°, which tells no face.
enum class RawVerticalZero { Zenith, Horizon, Compass };

struct RawUnits {
    RawAngleUnit angle = RawAngleUnit::PackedDms;
    double metresPerUnit = 1;  // 0.3048 for feet
    RawVerticalZero verticalZero = RawVerticalZero::Zenith;
    bool eastFirst = false;  // coordinates written east, north, height ("ENZ")

    // True when the fields are in DmsText, zenith angles and metres already.
    bool areWritten() const {
        return angle == RawAngleUnit::PackedDms && metresPerUnit == 1 &&
               verticalZero == RawVerticalZero::Zenith;
    }

    // Takes the setting of a unit line and returns true; false for any other
    // line. Throws ConversionError naming the file and line when it names
    // units or a setting this program cannot read (mil, for example).
    bool readUnitLine(std::string_view line, std::size_t lineNumber, const std::string& file);

    // An angle field as DmsText. A packed field and an empty one stay as they
    // are; a gon or decimal-degree value becomes D.MMSSs with the seconds to
    // 1e-4" (108.7690 gon is "97.5331604"), so each output rounds only once.
    std::string angleText(std::string_view field) const;

    // A vertical angle field as a zenith angle in DmsText; an empty field
    // stays empty. Throws ConversionError naming the file and line for an
    // elevation beyond ±90°.
    std::string zenithText(std::string_view field, std::size_t lineNumber,
                           const std::string& file) const;

    // The angle of a field in degrees, in the file's angle unit.
    double degreesOf(std::string_view field) const;

    // A distance or height field in metres, to a tenth of a millimetre. A
    // metre field, and one that is not a number, stay as they are.
    std::string distanceText(std::string_view field) const;
};

// Why a DmsText is no angle: its minutes or its seconds are 60 or more.
struct PackedAngleFault {
    enum Part { None, Minutes, Seconds } part = None;
    std::string value;  // "76", "90"
    explicit operator bool() const { return part != None; }
};
PackedAngleFault FindPackedAngleFault(std::string_view text);

}  // namespace tarvosen
