// Point list -> Zeiss R5 coordinate lines.

#include "points/point_exports.h"

#include "app/trim.h"
#include "zeiss/address_continuity.h"
#include "zeiss/r5_line.h"
#include "points/point_list_options.h"
#include "zeiss/r5_options.h"

namespace tarvosen::points {

namespace {

constexpr std::size_t kR5Name = 4, kR5Code = 3;

// The alphabetic conversion of every character of `name`, nothing cut.
std::string ConvertedInFull(std::string_view name) {
    std::string out;
    for (const char ch : name) {
        const int c = static_cast<unsigned char>(ch);
        if ((c >= '0' && c <= '9') || c < 48 || c > 127)
            out += ch;
        else if (c >= 'A' && c <= 'Z')
            out += std::to_string(c - 'A' + 1);
        else
            out += std::to_string(c - 96);  // a..z give 1..26, the underscore -1
    }
    return out;
}

}  // namespace

std::string ConvertAlphabeticToNumber(std::string_view name) {
    std::string out = ConvertedInFull(name.substr(0, kR5Name));
    if (out.size() > kR5Name) out.resize(kR5Name);
    return out;
}

std::optional<std::string> R5PointLine(long address, const PointRecord& p,
                                       bool convertAlphabetic, R5Cuts* cuts) {
    R5Cuts local;
    R5Cuts& c = cuts ? *cuts : local;
    std::string_view name = std::string_view(p.name).substr(0, kR5Name);
    std::string converted;
    if (convertAlphabetic) {
        converted = ConvertedInFull(name);
        name = std::string_view(converted).substr(0, kR5Name);
    }
    const std::string_view code = std::string_view(p.code).substr(0, kR5Code);
    c.name = p.name.size() > kR5Name || converted.size() > kR5Name;
    c.code = p.code.size() > kR5Code;
    std::string fitted[3];
    const std::string* given[3] = {&p.x, &p.y, &p.z};
    for (int i = 0; i < 3; ++i) {
        std::optional<std::string> value = zeiss::FitR5Value(*given[i]);
        if (!value) {
            c.unfit = "XYZ"[i];
            return std::nullopt;
        }
        if (value->size() < Trim(*given[i], Blanks::Spaces).size()) c.rounded = true;
        fitted[i] = std::move(*value);
    }
    return zeiss::FormatR5CoordinateLine(address, code, name, fitted[0], fitted[1], fitted[2]);
}

bool ExportPointsToR5(CommandContext& ctx, const Workspace& in) {
    const bool convert = ctx.options.get<R5Options>().convertAlphabeticToNumber;
    PointListReader reader = ReaderOf(ctx, in);
    if (RefusedAsPointList(ctx, reader)) return false;
    // R5 has 4 columns for the point number, 3 for the code and 11 for a value.
    LineIssue longNames(
        msg::kR5LongNames,
        "%1 had a point name longer than the 4 characters of an R5 point number (after letters "
        "became numbers, when they do); its first 4 were written.");
    LineIssue longCodes(
        msg::kR5LongCodes,
        "%1 had a code longer than the 3 characters of an R5 code; its first 3 "
        "were written.");
    LineIssue rounded(msg::kR5ValuesRounded,
                      "%1 had coordinates with more decimals than the 11 columns of an R5 value "
                      "hold; they were rounded to the decimals that fit (millimetres at least).");
    const MessageTexts texts = TextsOf(ctx);
    PointRecord p;
    long address = 1;
    for (; reader.ReadPointRecord(p); ++address) {
        R5Cuts cuts;
        std::optional<std::string> line = R5PointLine(address, p, convert, &cuts);
        if (!line) {
            const std::string axis(1, cuts.unfit);
            const std::string& value = cuts.unfit == 'X' ? p.x : cuts.unfit == 'Y' ? p.y : p.z;
            ctx.user.error(texts(msg::kR5ValueDoesNotFit,
                                 "%1: point %2 (line %3) cannot be written as R5: its %4 \"%5\" "
                                 "does not fit the 11 columns of an R5 value, even rounded to "
                                 "millimetres.",
                                 {DocumentFileName(ctx), p.name,
                                  std::to_string(reader.lineNumber()), axis, value}));
            return false;
        }
        AppendWorkspaceLine(ctx, std::move(*line));
        if (cuts.name) longNames.add(reader.lineNumber());
        if (cuts.code) longCodes.add(reader.lineNumber());
        if (cuts.rounded) rounded.add(reader.lineNumber());
    }
    AppendWorkspaceLine(ctx, "END");
    const long points = address - 1;
    if (points >= zeiss::kR5AddressModulus)
        ctx.user.warning(texts(msg::kR5AddressesOverflow,
                               "The point list holds %1 points; R5 addresses have 4 digits, so "
                               "after 9999 they start again at 0000, as on the instrument.",
                               {std::to_string(points)}));
    return EndPointExport(ctx, reader, static_cast<std::size_t>(points),
                          {&longNames, &longCodes, &rounded});
}

}  // namespace tarvosen::points
