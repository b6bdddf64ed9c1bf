#include "zeiss/r5_line.h"

namespace tarvosen::zeiss {

namespace {

void AppendHead(std::string& out, long address, const char* kind) {
    out.reserve(kR5LineLength);
    out += "For R5|Adr ";
    AppendZeroPadded(out, address, 4);
    out += '|';
    out += kind;
    out += ' ';
}

}  // namespace

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
