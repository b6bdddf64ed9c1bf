// The Z of the DXF export: the only number this subsystem converts.

#include <array>
#include <charconv>
#include <system_error>

#include "points/point_exports.h"

namespace tarvosen::points {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string DxfZ(std::string_view text, bool& isNumber) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    const bool plus = i < text.size() && text[i] == '+';  // from_chars takes "-" only
    if (plus) ++i;
    const std::string_view s = text.substr(i);
    // A number starts with a digit or a point and a digit (after its sign):
    // "inf", "nan" and hexadecimal forms are not survey heights.
    const std::size_t m = !plus && !s.empty() && s[0] == '-' ? 1 : 0;
    const bool starts =
        (m < s.size() && IsDigit(s[m])) || (m + 1 < s.size() && s[m] == '.' && IsDigit(s[m + 1]));
    double value = 0;
    isNumber = false;
    if (starts) {
        const auto r =
            std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
        isNumber = r.ec == std::errc();
        if (!isNumber) value = 0;
    }
    std::array<char, 400> buf;
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, 6);
    return std::string(buf.data(), r.ptr);
}

}  // namespace tarvosen::points
