#include "zeiss/m5_line.h"

#include "app/trim.h"

namespace tarvosen::zeiss {

namespace {

std::string Head(long address, const char* kind) {
    std::string out;
    out.reserve(kM5LineLength);
    out += "For M5|Adr ";
    AppendZeroPadded(out, address, 5);
    out += '|';
    out += kind;  // three columns and the blank after them
    return out;
}

constexpr std::size_t kInformationWidth = 27;
constexpr std::size_t kR5Text = 7;

std::string WithInformation(long address, const char* kind, std::string_view text,
                            const RecordFields& fields, bool unitsLeftAligned,
                            bool textLeftAligned = false) {
    std::string out = Head(address, kind);
    if (textLeftAligned)
        AppendLeft(out, text, kInformationWidth);
    else
        AppendRight(out, text, kInformationWidth);
    out += '|';
    AppendRecordFields(out, fields, 14, unitsLeftAligned);
    out += ' ';
    return out;
}

}  // namespace

bool M5Line::hasM5Layout() const {
    const std::size_t end = TrimEnd(raw(), Blanks::SpacesAndControls).size();
    if (at(7) != '|' || at(17) != '|' || at(49) != '|') return false;
    for (int i = 0; i < 3; ++i) {
        const std::size_t close = fieldColumn(i) + 22;
        if (at(close) != '|') return false;
        if (end <= close) return end == close;
    }
    return true;
}

std::string M5TextForR5(const M5Line& line, bool* cut) {
    constexpr std::size_t first = 22, last = first + kInformationWidth - 1;
    if (line.at(first) != ' ' && line.isBlank(first + kR5Text, last))
        return line.columns(first, first + kR5Text - 1);
    std::string text(Trim(line.columns(first, last), Blanks::Spaces));
    if (text.size() > kR5Text) {
        text.resize(kR5Text);
        if (cut) *cut = true;
    }
    text.resize(kR5Text, ' ');
    return text;
}

std::string FormatM5TextLine(long address, std::string_view text, const RecordFields& fields) {
    return WithInformation(address, "TI  ", text, fields, false, true);
}

std::string FormatM5PointLine(long address, std::string_view pointNumber, std::string_view code,
                              const RecordFields& fields) {
    std::string out = Head(address, "PI1 ");
    AppendRight(out, pointNumber, 14);
    AppendRight(out, code, 13);
    out += '|';
    AppendRecordFields(out, fields, 14);
    out += ' ';
    return out;
}

std::string FormatM5DataLine(long address, std::string_view text, const RecordFields& fields) {
    return WithInformation(address, "KD1 ", text, fields, true);
}

std::string FormatM5InformationLine(long address, std::string_view text,
                                    const RecordFields& fields) {
    return WithInformation(address, "TO  ", text, fields, false);
}

}  // namespace tarvosen::zeiss
