#include "leica/gsi_word.h"

#include <cmath>
#include <cstdio>

namespace tarvosen::leica {

namespace {

constexpr double kFootMetres = 0.3048;
constexpr double kPi = 3.141592653589793;

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The data as an integer; blanks before the digits are allowed.
std::optional<long long> Integer(std::string_view data) {
    std::size_t i = 0;
    while (i < data.size() && data[i] == ' ') ++i;
    if (i == data.size()) return std::nullopt;
    long long n = 0;
    for (; i < data.size(); ++i) {
        if (!Digit(data[i])) return std::nullopt;
        n = n * 10 + (data[i] - '0');
    }
    return n;
}

// The width of a block without '*': where its first word's separating blank
// stands (or where the line ends).
std::optional<GsiWidth> WidthOf(std::string_view body) {
    auto endsWordAt = [&](std::size_t at) { return body.size() == at || (body.size() > at && body[at] == ' '); };
    if (endsWordAt(15)) return GsiWidth::Gsi8;
    if (endsWordAt(23)) return GsiWidth::Gsi16;
    return std::nullopt;
}

}  // namespace

const GsiWord* GsiBlock::find(int index) const {
    for (const GsiWord& w : words)
        if (w.index == index) return &w;
    return nullptr;
}

std::optional<GsiBlock> SplitGsiBlock(std::string_view line) {
    GsiBlock block;
    if (!SplitGsiBlock(line, block)) return std::nullopt;
    return block;
}

bool SplitGsiBlock(std::string_view line, GsiBlock& block) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    block.words.clear();
    block.address.reset();
    block.starred = !line.empty() && line.front() == '*';
    const std::string_view body = block.starred ? line.substr(1) : line;
    if (body.size() < 15) return false;
    if (block.starred) {
        block.width = GsiWidth::Gsi16;
    } else if (const auto width = WidthOf(body)) {
        block.width = *width;
    } else {
        return false;
    }
    const std::size_t dataWidth = static_cast<std::size_t>(block.width);
    const std::size_t wordWidth = 7 + dataWidth;
    for (std::size_t at = 0; at < body.size(); at += wordWidth + 1) {
        if (body.size() < at + wordWidth) return false;  // a word cut short
        if (body.size() > at + wordWidth && body[at + wordWidth] != ' ') return false;
        const std::string_view w = body.substr(at, wordWidth);
        if (!Digit(w[0]) || !Digit(w[1]) || (w[6] != '+' && w[6] != '-')) return false;
        GsiWord word;
        word.negative = w[6] == '-';
        word.data = w.substr(7);
        const int two = (w[0] - '0') * 10 + (w[1] - '0');
        if (at == 0 && (two == 11 || two == 41)) {
            word.index = two;
            const auto address = Integer(w.substr(2, 4));
            if (address) block.address = static_cast<long>(*address);
        } else {
            word.index = Digit(w[2]) ? two * 10 + (w[2] - '0') : two;
            word.inputMode = w[4];
            word.unit = w[5];
        }
        block.words.push_back(word);
    }
    return !block.words.empty();
}

std::string GsiText(const GsiWord& word) {
    std::string_view d = word.data;
    while (d.size() > 1 && (d.front() == '0' || d.front() == ' ')) d.remove_prefix(1);
    while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
    return std::string(d);
}

bool KnownGsiUnit(char unit) { return unit == '.' || (unit >= '0' && unit <= '8'); }

bool GsiUnitFits(char unit, GsiQuantity quantity) {
    switch (unit) {
        case '0': case '1': case '6': case '7': case '8': return quantity == GsiQuantity::Length;
        case '2': case '3': case '4': case '5': return quantity == GsiQuantity::Angle;
        default: return false;
    }
}

std::optional<GsiLength> GsiLengthOf(const GsiWord& word) {
    if (!GsiUnitFits(word.unit, GsiQuantity::Length)) return std::nullopt;
    const auto n = Integer(word.data);
    if (!n) return std::nullopt;
    int decimals = 3;
    bool feet = false;
    switch (word.unit) {
        case '0': decimals = 3; break;
        case '1': decimals = 3; feet = true; break;
        case '6': decimals = 4; break;
        case '7': decimals = 4; feet = true; break;
        case '8': decimals = 5; break;
    }
    const double scaled = static_cast<double>(*n) / std::pow(10.0, decimals) * (word.negative ? -1 : 1);
    GsiLength out;
    out.metres = feet ? scaled * kFootMetres : scaled;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", feet ? decimals + 1 : decimals, out.metres);
    out.text = buf;
    return out;
}

std::optional<double> GsiAngleOf(const GsiWord& word) {
    if (!GsiUnitFits(word.unit, GsiQuantity::Angle)) return std::nullopt;
    const auto n = Integer(word.data);
    if (!n) return std::nullopt;
    double degrees = 0;
    switch (word.unit) {
        case '2': degrees = static_cast<double>(*n) / 1e5 * 0.9; break;
        case '3': degrees = static_cast<double>(*n) / 1e5; break;
        case '4': {
            const long long tenths = *n % 1000, minutes = *n / 1000 % 100;
            if (tenths >= 600 || minutes >= 60) return std::nullopt;
            degrees = static_cast<double>(*n / 100000) + static_cast<double>(minutes) / 60 +
                      static_cast<double>(tenths) / 36000;
            break;
        }
        case '5': degrees = static_cast<double>(*n) / 1e4 * 360.0 / 6400.0; break;
    }
    return (word.negative ? -1 : 1) * degrees * kPi / 180.0;
}

}  // namespace tarvosen::leica
