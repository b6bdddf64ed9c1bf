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

// "D.MMSSs" of an angle in degrees, rounded to a tenth of a second.
std::string PackedTenths(double degrees) {
    const long long tenths = std::llround(std::fabs(degrees) * 36000);
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld.%02lld%02lld%lld", degrees < 0 && tenths ? "-" : "",
                  tenths / 36000, tenths / 600 % 60, tenths / 10 % 60, tenths % 10);
    return text;
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
    return false;
}

std::string RawUnits::angleText(std::string_view field) const {
    if (angle == RawAngleUnit::PackedDms || Trim(field, Blanks::WhiteSpace).empty()) return std::string(field);
    const double degrees = LeadingDecimal(field) * (angle == RawAngleUnit::Gon ? 0.9 : 1);
    // A nonsense reading of a billion degrees or more is left as it is
    // rather than overflow the tenths of a second.
    return std::fabs(degrees) < 1e9 ? PackedTenths(degrees) : std::string(field);
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
