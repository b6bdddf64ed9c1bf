#include "adjustment/raw_units.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <utility>

#include "adjustment/angle.h"
#include "app/errors.h"
#include "app/number_text.h"

namespace tarvosen {

namespace {

constexpr std::string_view kAngleUnitLine = "Angle Units:";
constexpr std::string_view kDistanceUnitLine = "Dist Units:";
constexpr std::string_view kVerticalZeroLine = "Zero VA:";
constexpr std::string_view kCoordinateOrderLine = "Coord Order:";

// The unit name in lower case without blanks and punctuation, so "US-Feet",
// "US Feet" and "us feet" are one name.
std::string Folded(std::string_view name) {
    std::string folded;
    for (const char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The value a setting's folded name stands for, or nothing for a name the
// program does not know.
template <typename Value>
std::optional<Value> ValueOf(const std::string& name,
                             std::initializer_list<std::pair<std::string_view, Value>> names) {
    for (const auto& [n, value] : names)
        if (name == n) return value;
    return std::nullopt;
}

// Refuses a unit or setting line whose value the program cannot read,
// naming the file, the line and what it reads: a value guessed would turn
// every number after it into another.
[[noreturn]] void Refuse(int id, std::string_view line, std::size_t lineNumber,
                         const std::string& file, std::string_view known) {
    const char* english = id == msg::kUnknownUnits
                              ? "%4: line %1: \"%2\" names units this program cannot convert (it "
                                "reads %3). Nothing was written."
                              : "%4: line %1: \"%2\" names a setting this program cannot read (it "
                                "reads %3). Nothing was written.";
    throw ConversionError({id, english,
                           {std::to_string(lineNumber),
                            std::string(Trim(line, Blanks::WhiteSpace)), std::string(known),
                            file}});
}

// "D.MMSSssss" of an angle in degrees, the seconds rounded to 1e-4" and
// their trailing zeros dropped (never fewer than the two seconds digits).
std::string PackedText(double degrees) {
    const long long units = std::llround(std::fabs(degrees) * 3600e4);
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld.%02lld%02lld%04lld", degrees < 0 && units ? "-" : "",
                  units / 36000000, units / 600000 % 60, units / 10000 % 60, units % 10000);
    std::string packed = text;
    while (packed.size() > packed.find('.') + 5 && packed.back() == '0') packed.pop_back();
    return packed;
}

}  // namespace

bool RawUnits::readUnitLine(std::string_view line, std::size_t lineNumber,
                            const std::string& file) {
    std::string_view text = Trim(line, Blanks::WhiteSpace);
    if (!StartsWithIgnoringCase(text, "CO,")) return false;
    text = Trim(text.substr(3), Blanks::WhiteSpace);
    // Reads the value after `label` into `setting`; true when the line is that setting's.
    const auto read = [&]<typename Value>(
                          std::string_view label, Value& setting,
                          std::initializer_list<std::pair<std::string_view, Value>> names,
                          std::string_view known, int refusal) {
        if (!StartsWithIgnoringCase(text, label)) return false;
        const std::optional<Value> value = ValueOf(Folded(text.substr(label.size())), names);
        if (!value) Refuse(refusal, line, lineNumber, file, known);
        setting = *value;
        return true;
    };
    using enum RawAngleUnit;
    using enum RawVerticalZero;
    constexpr double kFoot = 0.3048, kUsFoot = 1200.0 / 3937.0;
    return read(kAngleUnitLine, angle,
                {{"dddmmss", PackedDms}, {"dms", PackedDms}, {"gons", Gon}, {"gon", Gon},
                 {"grads", Gon}, {"grad", Gon}, {"degreesdecimal", DecimalDegrees},
                 {"decimaldegrees", DecimalDegrees}, {"degrees", DecimalDegrees},
                 {"deg", DecimalDegrees}},
                "DDDMMSS, Gons and Degrees (decimal)", msg::kUnknownUnits) ||
           read(kDistanceUnitLine, metresPerUnit,
                {{"metres", 1.0}, {"meters", 1.0}, {"metre", 1.0}, {"meter", 1.0}, {"m", 1.0},
                 {"feet", kFoot}, {"ft", kFoot}, {"intfeet", kFoot}, {"intft", kFoot},
                 {"internationalfeet", kFoot}, {"usfeet", kUsFoot}, {"usft", kUsFoot},
                 {"ussurveyfeet", kUsFoot}},
                "Metres, Feet and US Feet", msg::kUnknownUnits) ||
           read(kVerticalZeroLine, verticalZero,
                {{"zenith", Zenith}, {"horizontal", Horizon}, {"horizon", Horizon},
                 {"compass", Compass}},
                "Zenith, Horizontal and Compass", msg::kUnknownRawSetting) ||
           read(kCoordinateOrderLine, eastFirst, {{"nez", false}, {"enz", true}},
                "NEZ and ENZ", msg::kUnknownRawSetting);
}

double RawUnits::degreesOf(std::string_view field) const {
    if (angle == RawAngleUnit::PackedDms) return DmsTextToRadians(field) * 180 / kPi;
    return LeadingDecimal(field) * (angle == RawAngleUnit::Gon ? 0.9 : 1);
}

std::string RawUnits::angleText(std::string_view field) const {
    if (angle == RawAngleUnit::PackedDms || Trim(field, Blanks::WhiteSpace).empty()) return std::string(field);
    const double degrees = degreesOf(field);
    // A nonsense reading of a billion degrees or more is left as it is
    // rather than overflow the ten-thousandths of a second.
    return std::fabs(degrees) < 1e9 ? PackedText(degrees) : std::string(field);
}

std::string RawUnits::zenithText(std::string_view field, std::size_t lineNumber,
                                 const std::string& file) const {
    if (verticalZero == RawVerticalZero::Zenith || Trim(field, Blanks::WhiteSpace).empty())
        return angleText(field);
    const double fromHorizon = degreesOf(field);
    if (verticalZero == RawVerticalZero::Compass && !(std::fabs(fromHorizon) <= 90))
        throw ConversionError(
            {msg::kElevationBeyondRightAngle,
             "%3: line %1: the vertical angle \"%2\" lies beyond 90° from the horizon, which an "
             "elevation (\"CO,Zero VA: Compass\") cannot. Nothing was written.",
             {std::to_string(lineNumber), std::string(Trim(field, Blanks::WhiteSpace)), file}});
    // Counted upwards from the horizon, the zenith angle is 90° less it.
    double zenith = std::fmod(90 - fromHorizon, 360.0);
    if (zenith < 0) zenith += 360;
    return PackedText(zenith);
}

std::string RawUnits::distanceText(std::string_view field) const {
    if (metresPerUnit == 1) return std::string(field);
    const std::optional<double> value = ParseWholeNumber(field, Blanks::WhiteSpace);
    if (!value) return std::string(field);
    char text[64];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, *value * metresPerUnit, std::chars_format::fixed, 4);
    return ec == std::errc() ? std::string(text, end) : std::string(field);
}

PackedAngleFault FindPackedAngleFault(std::string_view text) {
    const DmsParts parts = SplitDmsText(text);
    const long long minutes = LeadingInteger(parts.minutes);
    if (minutes >= 60) return {PackedAngleFault::Minutes, std::to_string(minutes)};
    const double seconds = LeadingDecimal(parts.seconds);
    if (seconds >= 60) return {PackedAngleFault::Seconds, FormatGeneral(seconds)};
    return {};
}

}  // namespace tarvosen
