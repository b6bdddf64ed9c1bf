#include "adjustment/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tarvosen {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

double LeadingDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Only plain decimal numbers: no hexadecimal, infinity or NaN spellings.
    if (i >= text.size() ||
        !(IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1]))))
        return 0;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                           std::chars_format::general);
    (void)end;
    // Out of range (beyond ±1.8e308) reads as 0 rather than as infinity.
    if (ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

long long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 10;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (value > kLimit) break;  // saturate instead of overflowing
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool ParseWholeDecimal(std::string_view text, double& value) {
    text = TrimBlanks(text);
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return false;
    const char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
    if (!IsDigit(first) && first != '.') return false;  // no "inf" or "nan"
    double v = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
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
