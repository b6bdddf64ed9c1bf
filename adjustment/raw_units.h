#pragma once
// The units of a Nikon raw file, as its "CO,Angle Units:" and "CO,Dist Units:"
// lines name them, and the conversion of its fields into the units every
// export writes: packed degrees-minutes-seconds (DmsText) and metres. A file
// without these lines is in DDDMMSS and metres.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvosen {

enum class RawAngleUnit { PackedDms, Gon, DecimalDegrees };

struct RawUnits {
    RawAngleUnit angle = RawAngleUnit::PackedDms;
    double metresPerUnit = 1;  // 0.3048 for feet

    // True when the fields are in DmsText and metres already.
    bool areWritten() const { return angle == RawAngleUnit::PackedDms && metresPerUnit == 1; }

    // Takes the units from a unit line and returns true; false for any other
    // line. Throws ConversionError naming the line when it names units that
    // cannot be converted (mil, for example).
    bool readUnitLine(std::string_view line, std::size_t lineNumber);

    // An angle field as DmsText. A packed field and an empty one stay as they
    // are; a gon or decimal-degree value becomes D.MMSSs, to a tenth of a
    // second (108.7690 gon is "97.53316").
    std::string angleText(std::string_view field) const;

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
