#include "zeiss/record_conversions.h"

#include "app/conversion.h"
#include "app/errors.h"
#include "i18n/line_ranges.h"
#include "zeiss/address_continuity.h"
#include "zeiss/m5_point_identification.h"
#include "zeiss/r5_line_account.h"
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

bool AppendR5AsM5(CommandContext& ctx, const Workspace& in) {
    RecordReader reader(in, kR5M5ReadLimit);
    R5LineAccount account;
    std::size_t lines = 0, written = 0;
    std::string text;
    while (reader.next(text)) {
        const R5Line line(text, reader.lineNumber());
        if (line.isEnd()) break;
        if (!line.isR5()) return NotOfKind(ctx, msg::kNotR5, kNotR5Message, "For R5", line);
        ++lines;
        if (!account.readable(line)) continue;
        if (auto out = ConvertR5LineToM5(line)) {
            ctx.workspace.append(std::move(*out));
            ++written;
        } else {
            account.passedOver(line.lineNumber());
        }
    }
    reader.reportCutLines(ctx.user, TextsOf(ctx));
    account.report(ctx, msg::kR5M5PassedOver,
                   "%1: line %2 is neither a point (KR) nor a text (TR) record; it was passed "
                   "over.",
                   "%1: lines %2 are neither point (KR) nor text (TR) records; they were passed "
                   "over.");
    if (written > 0) return true;
    R5LineAccount::RefuseNothingWritten(ctx, lines, msg::kR5NoM5LineWritten,
                                        "No M5 line was written from the %1 R5 lines.");
    return false;
}

bool AppendM5AsR5(CommandContext& ctx, const Workspace& in) {
    RecordReader reader(in, kR5M5ReadLimit);
    std::string text;
    bool endLine = false;
    std::size_t records = 0, converted = 0, firstCutNumber = 0, cutNumbers = 0;
    LineRanges cutTexts;
    while (reader.next(text)) {
        const M5Line line(text, reader.lineNumber());
        if (line.isEnd()) {
            endLine = true;
            break;
        }
        if (!line.isM5()) return NotOfKind(ctx, msg::kNotM5, kNotM5Message, "For M5", line);
        ++records;
        bool numberCut = false, textCut = false;
        if (auto out = ConvertM5LineToR5(line, &numberCut, &textCut)) {
            ctx.workspace.append(std::move(*out));
            ++converted;
        }
        if (numberCut && cutNumbers++ == 0) firstCutNumber = line.lineNumber();
        if (textCut) cutTexts.add(line.lineNumber());
    }
    // The end of the file (not an "END" line) closes the R5 data with "END".
    if (!endLine) ctx.workspace.append("END");
    const MessageTexts texts = TextsOf(ctx);
    reader.reportCutLines(ctx.user, texts);
    if (cutNumbers > 0) {
        const std::string width = std::to_string(kR5PointNumberWidth);
        const std::string first = std::to_string(firstCutNumber);
        ctx.user.warning(
            cutNumbers > 1
                ? texts(msg::kPointNumbersCut,
                        "Point numbers longer than the %1 columns of an R5 point number keep only "
                        "their last %1 characters: line %2 and %3 more lines.",
                        {width, first, std::to_string(cutNumbers - 1)})
                : texts(msg::kPointNumberCut,
                        "Point numbers longer than the %1 columns of an R5 point number keep only "
                        "their last %1 characters: line %2.",
                        {width, first}));
    }
    if (!cutTexts.empty()) {
        const std::string file = DocumentFileName(ctx), lines = cutTexts.text(texts);
        ctx.user.warning(cutTexts.count() == 1
                             ? texts(msg::kR5TextsCut,
                                     "%1: line %2 holds a text longer than the 7 characters of "
                                     "an R5 text record; its first 7 were written.",
                                     {file, lines})
                             : texts(msg::kR5TextsCut + 10,
                                     "%1: lines %2 hold texts longer than the 7 characters of "
                                     "an R5 text record; their first 7 were written.",
                                     {file, lines}));
    }
    // Levelling data (KD1 and TO records only) has nothing R5 can hold.
    if (records > 0 && converted == 0)
        ctx.user.warning(texts(msg::kNoTextOrPointRecord,
                               "None of the %1 M5 records is a text (TI) or point (PI) record "
                               "(levelling data has none), so the R5 data is empty.",
                               {std::to_string(records)}));
    return true;
}

bool AppendRec500AsM5(CommandContext& ctx, const Workspace& in) {
    const std::optional<Rec500Job> job = Rec500JobOf(ctx, in);
    if (!job) return false;
    const std::string file = DocumentFileName(ctx);
    RecordReader reader(in, kRec500ReadLimit);
    std::string text;
    std::size_t pointRecords = 0, textRecords = 0;
    while (reader.next(text)) {
        const FixedColumns line(text, reader.lineNumber());
        if (line.startsAt(1, "END")) break;
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
        ctx.workspace.append(ConvertRec500LineToM5(line, *job, file));
        ++(IsRec500PointRecord(line.columns(9, 35)) ? pointRecords : textRecords);
    }
    reader.reportCutLines(ctx.user, TextsOf(ctx));
    if (*job == Rec500Job::Coordinates)
        ctx.user.information(
            DocumentFileName(ctx) + ": " +
            TextsOf(ctx)(msg::kRec500CoordinateJob,
                         "The REC500 file holds a coordinate job: %1 point records became M5 "
                         "point (PI1) lines, %2 text records text (TI) lines.",
                         {std::to_string(pointRecords), std::to_string(textRecords)}));
    return true;
}

}  // namespace tarvosen::zeiss
