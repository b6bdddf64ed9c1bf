#include "zeiss/record_conversions.h"

#include "app/conversion.h"
#include "app/errors.h"
#include "app/trim.h"
#include "i18n/line_ranges.h"
#include "zeiss/address_continuity.h"
#include "zeiss/m5_point_identification.h"
#include "zeiss/record_account.h"
#include "zeiss/record_reader.h"

namespace tarvosen::zeiss {

namespace {

// `english` has the line in %1, the columns in %2-%3, the value in %4 and
// the file in %5.
[[noreturn]] void ThrowValueTooWide(const FixedColumns& line, std::size_t first, std::size_t last,
                                    int id, const char* english, const std::string& file = {}) {
    throw ConversionError({id, english,
                           {std::to_string(line.lineNumber()), std::to_string(first),
                            std::to_string(last), line.columns(first, last), file}});
}

// An M5 value keeps its last 11 columns in R5; refuse to drop digits.
std::string M5ValueForR5(const M5Line& line, int i) {
    const std::size_t first = M5Line::fieldColumn(i) + 3;
    if (!line.isBlank(first, first + 2))
        ThrowValueTooWide(line, first, first + 13, msg::kValueWiderThanR5,
                          "Line %1: the value in columns %2-%3 (\"%4\") is wider than the 11 "
                          "columns of an R5 field");
    return line.columns(first + 3, first + 13);
}

// REC500 values are separated from their neighbours by a blank; a value that
// runs into the blank would be cut by its columns, so it is refused.
void CheckRec500Value(const FixedColumns& line, std::size_t first, std::size_t last,
                      const std::string& file) {
    const bool runsOn = (line.at(first - 1) != ' ' && line.at(first) != ' ') ||
                        (line.at(last + 1) != ' ' && line.at(last) != ' ');
    if (runsOn)
        ThrowValueTooWide(line, first, last, msg::kValueRunsOnRec500,
                          "%5: Line %1: the value in columns %2-%3 (\"%4\") runs on past them; "
                          "the line does not have the REC500 layout",
                          file);
}

template <typename Line>
bool NotOfKind(CommandContext& ctx, int base, const char* english, const char* start,
               const Line& line) {
    const MessageTexts texts = TextsOf(ctx);
    RefuseInput(ctx, NotARecordMessage(texts, texts(base, english), start, line.lineNumber(),
                                       line.raw()));
    return false;
}

}  // namespace

std::optional<std::string> ConvertR5LineToM5(const R5Line& line) {
    const std::string kind = line.kind();
    if (kind == "TR") return FormatM5TextLine(line.address(), line.text(), line.fields());
    if (kind == "KR")
        return FormatM5PointLine(line.address(), line.pointNumber(), line.code(), line.fields());
    return std::nullopt;
}

std::optional<std::string> ConvertM5LineToR5(const M5Line& line, bool* numberCut,
                                             bool* textCut) {
    const std::string kind = line.columns(18, 19);
    if (kind != "TI" && kind != "PI") return std::nullopt;
    const long address = line.address();
    RecordFields fields;
    for (int i = 0; i < 3; ++i) {
        fields[i] = {line.fieldType(i), M5ValueForR5(line, i), line.fieldUnit(i)};
    }
    if (kind == "TI") return FormatR5TextLine(address, M5TextForR5(line, textCut), fields);

    for (int i = 0; i < 3; ++i) {
        if (fields[i].unit != "gon ") continue;
        const std::size_t first = M5Line::fieldColumn(i) + 6;
        fields[i].value = GonToDmsText(line.number(first, first + 10));
        fields[i].unit = "DMS ";
    }
    const M5PointIdentification point = ReadM5PointIdentification(line);
    std::string_view number = point.number;
    if (number.size() > kR5PointNumberWidth) {
        number.remove_prefix(number.size() - kR5PointNumberWidth);
        if (numberCut) *numberCut = true;
    }
    return FormatR5PointLine(address, R5PointCode(point.code), number, fields);
}

std::string ConvertRec500LineToM5(const FixedColumns& line, Rec500Job job, const std::string& file) {
    const std::optional<long> address = ParseWholeInteger(line.columns(1, 7));
    if (!address)
        throw ConversionError({msg::kLineNoRec500Address,
                               "%3: Line %1: \"%2\" in columns 1-7 is not the address of a "
                               "REC500 record",
                               {std::to_string(line.lineNumber()), line.columns(1, 7), file}});
    CheckRec500Value(line, 40, 50, file);
    CheckRec500Value(line, 55, 66, file);
    CheckRec500Value(line, 71, 78, file);
    const std::string text = line.columns(9, 35);
    const std::string type1 = line.columns(37, 38), type2 = line.columns(52, 53),
                      type3 = line.columns(68, 69);
    if (job == Rec500Job::Coordinates)
        return FormatRec500CoordinateRecordAsM5(*address, text,
                                                {{{type1, line.columns(40, 50)},
                                                  {type2, line.columns(55, 66)},
                                                  {type3, line.columns(71, 78)}}});
    const bool heightOnly = type3 == "Z ";
    // Data lines give fields 1 and 2 the unit "m" (and field 3 when it is a
    // height); text lines leave every unit blank.
    const bool data = (type1 != "  " && type2 != "  ") || heightOnly;
    const std::string metres(1, data ? 'm' : ' ');
    const std::string unit3(1, heightOnly ? 'm' : ' ');
    const RecordFields fields{{{type1, line.columns(40, 50), metres},
                               {type2, line.columns(55, 66), metres},
                               {type3, line.columns(71, 78), data ? unit3 : metres}}};
    return data ? FormatM5DataLine(*address, text, fields)
                : FormatM5InformationLine(*address, text, fields);
}

namespace {

// The units of the instruments' record files: lengths, angles, pressures,
// temperatures; blank where a value has none.
bool IsRecordUnit(std::string_view unit) {
    static constexpr std::string_view kUnits[] = {"",     "m",   "ft",  "gon", "grd", "DEG",
                                                  "DMS",  "mil", "%",   "mmHg", "hPa", "inHg",
                                                  "C",    "F"};
    const std::string_view u = Trim(unit, Blanks::SpacesAndControls);
    for (std::string_view known : kUnits)
        if (u == known) return true;
    return false;
}

// True when every field of the record has a unit the records use; otherwise
// the refusal naming the line and the unit is shown. A conversion that
// rewrites angles in gon cannot tell an angle by a unit it does not know.
template <typename Line>
bool UnitsKnown(CommandContext& ctx, const Line& line) {
    for (int i = 0; i < 3; ++i) {
        if (IsRecordUnit(line.fieldUnit(i))) continue;
        ctx.user.error(UnknownUnitText(ctx, line.lineNumber(), line.fieldType(i), line.fieldUnit(i)));
        return false;
    }
    return true;
}

bool IsLevellingKind(const std::string& kind) {
    return kind.starts_with("KD") || kind == "TO ";
}

// The end of a conversion in place: the lines not understood, the refusal of
// a run that wrote nothing, the converted lines into the workspace and the
// summary. `written` counts the records written.
bool Finish(CommandContext& ctx, const LineAccount& account, const Workspace& out,
            std::size_t written, bool m5) {
    if (!CheckLinesUnderstood(ctx, account)) return false;
    if (written == 0) return RefuseNothingWritten(ctx, account);
    for (const std::string_view line : out.view()) ctx.workspace.append(line);
    const MessageTexts texts = TextsOf(ctx);
    const std::string count = std::to_string(written);
    NoteReadSummary(ctx, account,
                    m5 ? (written == 1 ? texts(msg::kM5LineWritten, "1 M5 line written")
                                       : texts(msg::kM5LinesWritten, "%1 M5 lines written", {count}))
                       : (written == 1 ? texts(msg::kR5LineWritten, "1 R5 line written")
                                       : texts(msg::kR5LinesWritten, "%1 R5 lines written", {count})));
    return true;
}

}  // namespace

bool ReadR5AsM5(CommandContext& ctx, const Workspace& in, Workspace& out, LineAccount& account,
                std::size_t& written) {
    return NamingTheFile(ctx, [&] {
        RecordReader reader(in, kR5M5ReadLimit, account);
        R5LayoutLines layout;
        std::string text;
        while (reader.next(text)) {
            const R5Line line(text, reader.lineNumber());
            if (line.isEnd()) {
                PassOverFromEnd(account, line.lineNumber(), in.lineCount());
                break;
            }
            if (!line.isR5()) return NotOfKind(ctx, msg::kNotR5, kNotR5Message, "For R5", line);
            if (!layout.readable(line, account)) continue;
            const std::string kind = line.kind();
            if (kind != "KR" && kind != "TR") {
                account.notUnderstood(line.lineNumber());
                continue;
            }
            if (!UnitsKnown(ctx, line)) return false;
            out.append(*ConvertR5LineToM5(line));
            account.used(line.lineNumber());
            ++written;
        }
        reader.reportCutLines(ctx.user, TextsOf(ctx));
        layout.report(ctx);
        return true;
    });
}

bool AppendR5AsM5(CommandContext& ctx, const Workspace& in) {
    LineAccount account(DocumentFileName(ctx));
    Workspace out;
    std::size_t written = 0;
    if (!ReadR5AsM5(ctx, in, out, account, written)) return false;
    return Finish(ctx, account, out, written, true);
}

bool ReadM5AsR5(CommandContext& ctx, const Workspace& in, Workspace& out, LineAccount& account,
                std::size_t& written) {
    return NamingTheFile(ctx, [&] {
        RecordReader reader(in, kR5M5ReadLimit, account);
        std::string text;
        bool endLine = false;
        std::size_t levelling = 0;
        LineRanges cutNumbers, cutTexts;
        while (reader.next(text)) {
            const M5Line line(text, reader.lineNumber());
            if (line.isEnd()) {
                PassOverFromEnd(account, line.lineNumber(), in.lineCount());
                endLine = true;
                break;
            }
            if (!line.isM5()) return NotOfKind(ctx, msg::kNotM5, kNotM5Message, "For M5", line);
            const std::string kind = line.kind();
            if (IsLevellingKind(kind)) {
                account.passedOver(line.lineNumber(), kLevellingRecords);
                ++levelling;
                continue;
            }
            if ((kind.substr(0, 2) != "TI" && kind.substr(0, 2) != "PI") || !line.hasM5Layout()) {
                account.notUnderstood(line.lineNumber());
                continue;
            }
            if (!UnitsKnown(ctx, line)) return false;
            bool numberCut = false, textCut = false;
            out.append(*ConvertM5LineToR5(line, &numberCut, &textCut));
            account.used(line.lineNumber());
            ++written;
            if (numberCut) cutNumbers.add(line.lineNumber());
            if (textCut) cutTexts.add(line.lineNumber());
        }
        // Levelling data (KD and TO records only) has nothing R5 can hold.
        if (written == 0 && levelling > 0) {
            ctx.user.error(TextsOf(ctx)(
                msg::kM5HoldsLevelling,
                "%1 holds levelling readings (%2 records, no text or point record), which R5 "
                "cannot carry; nothing was written. Use the levelling record book commands for "
                "it.",
                {DocumentFileName(ctx), std::to_string(levelling)}));
            return false;
        }
        // The end of the file (not an "END" line) closes the R5 data with "END".
        if (!endLine) out.append("END");
        reader.reportCutLines(ctx.user, TextsOf(ctx));
        const std::string width = std::to_string(kR5PointNumberWidth);
        const MessageTexts texts = TextsOf(ctx);
        if (!cutNumbers.empty())
            ctx.user.warning(
                cutNumbers.count() == 1
                    ? texts(msg::kR5NumberCutOne,
                            "%1: line %2 holds a point number longer than the %3 columns of an R5 "
                            "point number; its last %3 characters were written.",
                            {DocumentFileName(ctx), cutNumbers.text(texts), width})
                    : texts(msg::kR5NumberCutMany,
                            "%1: lines %2 hold point numbers longer than the %3 columns of an R5 "
                            "point number; their last %3 characters were written.",
                            {DocumentFileName(ctx), cutNumbers.text(texts), width}));
        WarnLines(ctx, cutTexts, msg::kR5TextsCut,
                  "%1: line %2 holds a text longer than the 7 characters of an R5 text record; "
                  "its first 7 were written.",
                  "%1: lines %2 hold texts longer than the 7 characters of an R5 text record; "
                  "their first 7 were written.");
        return true;
    });
}

bool AppendM5AsR5(CommandContext& ctx, const Workspace& in) {
    LineAccount account(DocumentFileName(ctx));
    Workspace out;
    std::size_t written = 0;
    if (!ReadM5AsR5(ctx, in, out, account, written)) return false;
    return Finish(ctx, account, out, written, false);
}

bool ReadRec500AsM5(CommandContext& ctx, const Workspace& in, Workspace& out,
                    LineAccount& account, std::size_t& written) {
    const std::optional<Rec500Job> job = Rec500JobOf(ctx, in);
    if (!job) return false;
    const std::string file = DocumentFileName(ctx);
    RecordReader reader(in, kRec500ReadLimit, account);
    std::string text;
    std::size_t pointRecords = 0, textRecords = 0;
    while (reader.next(text)) {
        const FixedColumns line(text, reader.lineNumber());
        if (line.startsAt(1, "END")) {
            PassOverFromEnd(account, line.lineNumber(), in.lineCount());
            break;
        }
        // A first line without an address says the file is no REC500 data at
        // all; a bad line among records is a failure of that line.
        if (line.lineNumber() == 1 && !ParseWholeInteger(line.columns(1, 7))) {
            const MessageTexts texts = TextsOf(ctx);
            RefuseInput(ctx, texts(msg::kNotRec500, kNotRec500Message) +
                                 texts(msg::kNoRec500Address,
                                       "\nLine 1: \"%1\" in columns 1-7 is not the address of a "
                                       "REC500 record.",
                                       {line.columns(1, 7)}));
            return false;
        }
        std::string converted = ConvertRec500LineToM5(line, *job, file);
        if (!Rec500TypesKnown(line, *job)) {
            account.notUnderstood(line.lineNumber());
            continue;
        }
        out.append(std::move(converted));
        account.used(line.lineNumber());
        ++written;
        ++(IsRec500PointRecord(line.columns(9, 35)) ? pointRecords : textRecords);
    }
    reader.reportCutLines(ctx.user, TextsOf(ctx));
    if (*job == Rec500Job::Coordinates && written > 0)
        ctx.user.information(
            file + ": " +
            TextsOf(ctx)(msg::kRec500CoordinateJob,
                         "The REC500 file holds a coordinate job: %1 point records became M5 "
                         "point (PI1) lines, %2 text records text (TI) lines.",
                         {std::to_string(pointRecords), std::to_string(textRecords)}));
    return true;
}

bool AppendRec500AsM5(CommandContext& ctx, const Workspace& in) {
    LineAccount account(DocumentFileName(ctx));
    Workspace out;
    std::size_t written = 0;
    if (!ReadRec500AsM5(ctx, in, out, account, written)) return false;
    return Finish(ctx, account, out, written, true);
}

}  // namespace tarvosen::zeiss
