#include "adjustment/raw_units.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

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

bool OneOf(const std::string& name, std::initializer_list<std::string_view> names) {
    for (const auto n : names)
        if (name == n) return true;
    return false;
}

[[noreturn]] void Refuse(std::string_view line, std::size_t lineNumber, std::string_view known) {
    throw ConversionError({msg::kUnknownUnits,
                           "Line %1: \"%2\" names units this program cannot convert (it reads "
                           "%3). Nothing was written.",
                           {std::to_string(lineNumber),
                            std::string(Trim(line, Blanks::WhiteSpace)), std::string(known)}});
}

[[noreturn]] void RefuseSetting(std::string_view line, std::size_t lineNumber,
                                std::string_view known) {
    throw ConversionError({msg::kUnknownRawSetting,
                           "Line %1: \"%2\" names a setting this program cannot read (it reads "
                           "%3). Nothing was written.",
                           {std::to_string(lineNumber),
                            std::string(Trim(line, Blanks::WhiteSpace)), std::string(known)}});
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

bool RawUnits::readUnitLine(std::string_view line, std::size_t lineNumber) {
    std::string_view text = Trim(line, Blanks::WhiteSpace);
    if (!StartsWithIgnoringCase(text, "CO,")) return false;
    text = Trim(text.substr(3), Blanks::WhiteSpace);
    if (StartsWithIgnoringCase(text, kAngleUnitLine)) {
        const std::string unit = Folded(text.substr(kAngleUnitLine.size()));
        if (OneOf(unit, {"dddmmss", "dms"}))
            angle = RawAngleUnit::PackedDms;
        else if (OneOf(unit, {"gons", "gon", "grads", "grad"}))
            angle = RawAngleUnit::Gon;
        else if (OneOf(unit, {"degreesdecimal", "decimaldegrees", "degrees", "deg"}))
            angle = RawAngleUnit::DecimalDegrees;
        else
            Refuse(line, lineNumber, "DDDMMSS, Gons and Degrees (decimal)");
        return true;
    }
    if (StartsWithIgnoringCase(text, kDistanceUnitLine)) {
        const std::string unit = Folded(text.substr(kDistanceUnitLine.size()));
        if (OneOf(unit, {"metres", "meters", "metre", "meter", "m"}))
            metresPerUnit = 1;
        else if (OneOf(unit, {"feet", "ft", "intfeet", "intft", "internationalfeet"}))
            metresPerUnit = 0.3048;
        else if (OneOf(unit, {"usfeet", "usft", "ussurveyfeet"}))
            metresPerUnit = 1200.0 / 3937.0;
        else
            Refuse(line, lineNumber, "Metres, Feet and US Feet");
        return true;
    }
    if (StartsWithIgnoringCase(text, kVerticalZeroLine)) {
        const std::string zero = Folded(text.substr(kVerticalZeroLine.size()));
        if (zero == "zenith")
            verticalZero = RawVerticalZero::Zenith;
        else if (zero == "horizontal" || zero == "horizon")
            verticalZero = RawVerticalZero::Horizon;
        else if (zero == "compass")
            verticalZero = RawVerticalZero::Compass;
        else
            RefuseSetting(line, lineNumber, "Zenith, Horizontal and Compass");
        return true;
    }
    if (StartsWithIgnoringCase(text, kCoordinateOrderLine)) {
        const std::string order = Folded(text.substr(kCoordinateOrderLine.size()));
        if (order == "nez")
            eastFirst = false;
        else if (order == "enz")
            eastFirst = true;
        else
            RefuseSetting(line, lineNumber, "NEZ and ENZ");
        return true;
    }
    return false;
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

std::string RawUnits::zenithText(std::string_view field, std::size_t lineNumber) const {
    if (verticalZero == RawVerticalZero::Zenith || Trim(field, Blanks::WhiteSpace).empty())
        return angleText(field);
    const double fromHorizon = degreesOf(field);
    if (verticalZero == RawVerticalZero::Compass && !(std::fabs(fromHorizon) <= 90))
        throw ConversionError(
            {msg::kElevationBeyondRightAngle,
             "Line %1: the vertical angle \"%2\" lies beyond 90° from the horizon, which an "
             "elevation (\"CO,Zero VA: Compass\") cannot. Nothing was written.",
             {std::to_string(lineNumber), std::string(Trim(field, Blanks::WhiteSpace))}});
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
