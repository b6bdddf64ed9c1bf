#include "app/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarvosen {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Takes one sign off the text; true for a minus.
bool TakeSign(std::string_view& text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

// A decimal number starts with a digit or a point and a digit: "inf", "nan"
// and hexadecimal forms are not numbers here.
bool StartsDecimal(std::string_view text) {
    return !text.empty() &&
           (IsDigit(text[0]) || (text[0] == '.' && text.size() > 1 && IsDigit(text[1])));
}

}  // namespace

std::optional<double> ParseWholeNumber(std::string_view text, Blanks blanks) {
    text = Trim(text, blanks);
    const bool negative = TakeSign(text);
    if (!StartsDecimal(text)) return std::nullopt;
    double value = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<long> ParseWholeInteger(std::string_view text, Blanks blanks) {
    text = Trim(text, blanks);
    const bool negative = TakeSign(text);
    if (text.empty() || !IsDigit(text.front())) return std::nullopt;
    // Read with its minus (the character before the digits), so the most
    // negative value fits.
    const char* first = text.data() - (negative ? 1 : 0);
    long value = 0;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> LeadingNumber(std::string_view text) {
    text = Trim(text, Blanks::WhiteSpace);
    const bool negative = TakeSign(text);
    if (!StartsDecimal(text)) return std::nullopt;
    double value = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    (void)end;
    // Out of range (beyond ±1.8e308) is no number rather than infinity.
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

double LeadingDecimal(std::string_view text) {
    return LeadingNumber(text).value_or(0);
}

long long LeadingInteger(std::string_view text) {
    text = Trim(text, Blanks::WhiteSpace);
    const bool negative = TakeSign(text);
    long long value = 0;
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 10;
    for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
        if (value > kLimit) break;  // saturate instead of overflowing
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::string FormatGeneral(double value) {
    char buf[64];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

std::string FormatFixed3(double value) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    if (ec != std::errc()) return "0.000";
    std::string text(buf, end);
    if (text == "-0.000") text = "0.000";
    return text;
}

}  // namespace tarvosen
