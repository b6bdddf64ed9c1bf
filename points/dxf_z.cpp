// The Z of the DXF export: the only number this subsystem converts.

#include <array>
#include <charconv>

#include "app/number_text.h"
#include "points/point_exports.h"

namespace tarvosen::points {

std::string DxfZ(std::string_view text, bool& isNumber) {
    // The number the text starts with, as strtod reads it; "inf", "nan" and
    // hexadecimal forms are not survey heights.
    const std::optional<double> z = LeadingNumber(text);
    isNumber = z.has_value();
    std::array<char, 400> buf;
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), z.value_or(0), std::chars_format::fixed, 6);
    return std::string(buf.data(), r.ptr);
}

}  // namespace tarvosen::points
