#include "zeiss/m5_line.h"

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

std::string WithInformation(long address, const char* kind, std::string_view text,
                            const RecordFields& fields, bool unitsLeftAligned) {
    std::string out = Head(address, kind);
    AppendRight(out, text, 27);
    out += '|';
    AppendRecordFields(out, fields, 14, unitsLeftAligned);
    out += ' ';
    return out;
}

}  // namespace

std::string FormatM5TextLine(long address, std::string_view text, const RecordFields& fields) {
    return WithInformation(address, "TI  ", text, fields, false);
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
