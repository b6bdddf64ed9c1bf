// Conversions between numbers, texts and truth values.

#include "spreadsheet/values.h"

#include <iconv.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarvosen::spreadsheet {

std::string FormatNumber(double number) {
    if (number == 0) return "0";
    if (!std::isfinite(number)) return "#NUM!";
    char buffer[40];
    double magnitude = std::fabs(number);
    if (magnitude >= 1e15 || magnitude < 1e-9) {
        std::snprintf(buffer, sizeof buffer, "%.14E", number);
        // Trim zeros of the mantissa: 1.50000000000000E+20 -> 1.5E+20.
        std::string text(buffer);
        std::size_t e = text.find('E');
        std::string mantissa = text.substr(0, e);
        while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
        std::string exponent = text.substr(e + 1);
        char sign = exponent[0];
        std::size_t firstDigit = exponent.find_first_not_of("+-0");
        std::string digits =
            firstDigit == std::string::npos ? "0" : exponent.substr(firstDigit);
        if (digits.size() < 2) digits.insert(digits.begin(), '0');
        return mantissa + "E" + sign + digits;
    }
    // Fixed notation with 15 significant digits, then trailing zeros cut.
    int decimals = 14 - static_cast<int>(std::floor(std::log10(magnitude)));
    if (decimals < 0) decimals = 0;
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, number);
    std::string text(buffer);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text;
}

std::size_t TextLength(std::string_view text) {
    std::size_t length = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++length;  // not a continuation byte
    return length;
}

std::string ValueToText(const CellValue& value) {
    switch (value.index()) {
        case 1: return FormatNumber(std::get<double>(value));
        case 2: return std::get<std::string>(value);
        case 3: return std::get<bool>(value) ? "TRUE" : "FALSE";
        case 4: return std::string(ErrorText(std::get<CellError>(value)));
        default: return "";
    }
}

NumberOrError ToNumber(const CellValue& value) {
    switch (value.index()) {
        case 1: return {std::get<double>(value), std::nullopt};
        case 2: {
            auto number = ParseWholeNumber(std::get<std::string>(value));
            if (number) return {*number, std::nullopt};
            return {0, CellError::Value};
        }
        case 3: return {std::get<bool>(value) ? 1.0 : 0.0, std::nullopt};
        case 4: return {0, std::get<CellError>(value)};
        default: return {0, std::nullopt};
    }
}

double RoundDecimal(double number, int digits) {
    if (!std::isfinite(number) || number == 0) return number;
    if (digits > 15) digits = 15;
    // 15 significant digits in scientific form: d.dddddddddddddde±x
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(number));
    std::string text(buffer);
    std::size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string mantissa = text.substr(0, 1) + text.substr(2, e - 2);  // 15 digits
    int keep = exponent + 1 + digits;  // digits of the mantissa kept
    if (keep >= static_cast<int>(mantissa.size())) return number;
    double result = 0;
    if (keep >= 0) {
        std::string kept = mantissa.substr(0, static_cast<std::size_t>(keep));
        bool up = mantissa[static_cast<std::size_t>(keep)] >= '5';
        // kept as an integer, scaled back by 10^(exponent + 1 - keep)
        double integer = kept.empty() ? 0 : std::strtod(kept.c_str(), nullptr);
        if (up) integer += 1;
        int scale = exponent + 1 - keep;
        std::snprintf(buffer, sizeof buffer, "%.0fe%d", integer, scale);
        result = std::strtod(buffer, nullptr);
    }
    return number < 0 ? -result : result;
}

namespace {

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3
                                           : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        if (length == 2 && c < 0xC2) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

std::string ToUtf8(std::string_view text) {
    if (IsValidUtf8(text)) return std::string(text);
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (char c : text) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return out;
    }
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    out.resize(input.size() * 4 + 4);
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            // An invalid byte: show it as U+FFFD and go on.
            if (outLeft < 3) break;
            *outPtr++ = '\xEF';
            *outPtr++ = '\xBF';
            *outPtr++ = '\xBD';
            outLeft -= 3;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace tarvosen::spreadsheet
