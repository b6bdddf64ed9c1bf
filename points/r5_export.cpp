// Point list -> Zeiss R5 coordinate lines.

#include "points/point_exports.h"
#include "zeiss/r5_line.h"
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

std::string R5PointLine(long address, const PointRecord& p, bool convertAlphabetic, R5Cuts* cuts) {
    std::string_view name = std::string_view(p.name).substr(0, kR5Name);
    std::string converted;
    if (convertAlphabetic) {
        converted = ConvertedInFull(name);
        name = std::string_view(converted).substr(0, kR5Name);
    }
    const std::string_view code = std::string_view(p.code).substr(0, kR5Code);
    if (cuts) {
        cuts->name = p.name.size() > kR5Name || converted.size() > kR5Name;
        cuts->code = p.code.size() > kR5Code;
    }
    return zeiss::FormatR5CoordinateLine(address, code, name, p.x, p.y, p.z);
}

bool ExportPointsToR5(CommandContext& ctx, const Workspace& in) {
    const bool convert = ctx.options.get<R5Options>().convertAlphabeticToNumber;
    PointListReader reader(in, ctx.options.get<PointListOptions>().layout, TextsOf(ctx));
    if (RefusedAsPointList(ctx, reader)) return false;
    // R5 has 4 columns for the point number and 3 for the code.
    LineIssue longNames(
        msg::kR5LongNames,
        "had a point name longer than the 4 characters of an R5 point number (after letters "
        "became numbers, when they do); its first 4 were written");
    LineIssue longCodes(
        msg::kR5LongCodes,
        "had a code longer than the 3 characters of an R5 code; its first 3 "
        "were written");
    PointRecord p;
    long address = 1;
    for (; reader.ReadPointRecord(p); ++address) {
        R5Cuts cuts;
        AppendWorkspaceLine(ctx, R5PointLine(address, p, convert, &cuts));
        if (cuts.name) longNames.add(reader.lineNumber());
        if (cuts.code) longCodes.add(reader.lineNumber());
    }
    AppendWorkspaceLine(ctx, "END");
    ShowReadMessages(ctx, reader);
    const MessageTexts texts = TextsOf(ctx);
    for (const auto* issue : {&longNames, &longCodes})
        if (!issue->empty()) ctx.user.warning(issue->message(texts));
    const long points = address - 1;
    if (points > 9999)
        ctx.user.warning(texts(msg::kR5AddressesOverflow,
                               "The point list holds %1 points; R5 addresses above 9999 do not "
                               "fit the 4 address columns and shift the rest of their lines to "
                               "the right.",
                               {std::to_string(points)}));
    return true;
}

}  // namespace tarvosen::points
