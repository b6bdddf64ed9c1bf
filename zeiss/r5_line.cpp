#include "zeiss/r5_line.h"

#include <algorithm>

#include "app/trim.h"

namespace tarvosen::zeiss {

namespace {

void AppendHead(std::string& out, long address, const char* kind) {
    out.reserve(kR5LineLength);
    out += "For R5|Adr ";
    // Four digits, starting again at 0000 after 9999 as the instrument does.
    AppendZeroPadded(out, address % kR5AddressModulus, 4);
    out += '|';
    out += kind;
    out += ' ';
}

bool IsDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Adds one to the decimal digits `digits`; true when it carried out of them.
bool AddOne(std::string& digits) {
    for (auto c = digits.rbegin(); c != digits.rend(); ++c) {
        if (*c != '9') {
            ++*c;
            return false;
        }
        *c = '0';
    }
    return true;
}

constexpr std::size_t kMillimetreDecimals = 3;

}  // namespace

bool R5Line::hasR5Layout() const {
    const std::size_t end = TrimEnd(raw(), Blanks::SpacesAndControls).size();
    if (at(7) != '|' || at(16) != '|' || at(27) != '|') return false;
    for (int i = 0; i < 3; ++i) {
        const std::size_t close = fieldColumn(i) + 19;
        if (at(close) != '|') return false;
        if (end <= close) return end == close;
    }
    return true;  // what follows column 87 is no part of the record
}

std::optional<std::string> FitR5Value(std::string_view value) {
    if (value.size() <= kR5ValueWidth) return std::string(value);
    std::string_view number = Trim(value, Blanks::Spaces);
    if (number.size() <= kR5ValueWidth) return std::string(number);
    std::string sign;
    if (number.front() == '-' || number.front() == '+') {
        sign = number.front();
        number.remove_prefix(1);
    }
    const std::size_t point = number.find('.');
    std::string whole(number.substr(0, point));
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    if (whole.empty() || !IsDigits(whole) || !IsDigits(decimals)) return std::nullopt;
    const std::size_t used = sign.size() + whole.size() + 1;  // the point
    if (used + kMillimetreDecimals > kR5ValueWidth) return std::nullopt;
    const std::size_t kept = std::min(decimals.size(), kR5ValueWidth - used);
    std::string fraction(decimals.substr(0, kept));
    if (kept < decimals.size() && decimals[kept] >= '5' && AddOne(fraction) && AddOne(whole)) {
        // 999999.99996 -> 1000000.0000: the decimals are all zeros, one fewer fits.
        whole.insert(whole.begin(), '1');
        if (used + 1 + kMillimetreDecimals > kR5ValueWidth) return std::nullopt;
        fraction.resize(std::min(fraction.size(), kR5ValueWidth - used - 1));
    }
    return sign + whole + "." + fraction;
}

std::string FormatR5PointLine(long address, std::string_view code, std::string_view pointNumber,
                              const RecordFields& fields) {
    std::string out;
    AppendHead(out, address, "KR");
    AppendRight(out, code, 3);
    AppendRight(out, pointNumber, 4);
    out += '|';
    AppendRecordFields(out, fields, 11);
    return out;
}

std::string FormatR5CoordinateLine(long address, std::string_view code,
                                   std::string_view pointNumber, std::string_view x,
                                   std::string_view y, std::string_view z) {
    std::string out;
    AppendHead(out, address, "KR");
    AppendRight(out, code, 3);
    AppendRight(out, pointNumber, 4);
    out += "|X  ";
    AppendRight(out, x, 11);
    out += " m   |Y  ";
    AppendRight(out, y, 11);
    out += " m   |Z  ";
    AppendRight(out, z, 11);
    out += " m   |";
    return out;
}

std::string FormatR5TextLine(long address, std::string_view text, const RecordFields& fields) {
    std::string out;
    AppendHead(out, address, "TR");
    AppendRight(out, text, 7);
    out += '|';
    AppendRecordFields(out, fields, 11);
    return out;
}

std::string NotARecordMessage(const MessageTexts& texts, std::string_view message,
                              std::string_view expectedStart, std::size_t lineNumber,
                              std::string_view line) {
    const std::string number = std::to_string(lineNumber);
    if (line.empty()) return std::string(message) + texts(msg::kLineIsEmpty, "\nLine %1 is empty.", {number});
    return std::string(message) + texts(msg::kLineDoesNotBegin, "\nLine %1 does not begin with \"%2\".",
                                        {number, expectedStart});
}

}  // namespace tarvosen::zeiss
