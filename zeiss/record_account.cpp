#include "zeiss/record_account.h"

#include "app/trim.h"

namespace tarvosen::zeiss {

void PassOverFromEnd(LineAccount& account, std::size_t line, std::size_t lines) {
    for (std::size_t n = line; n <= lines; ++n) account.passedOver(n, kFromEndOn);
}

bool R5LayoutLines::readable(const R5Line& line, LineAccount& account) {
    if (line.hasR5Layout()) return true;
    offLayout_.add(line.lineNumber());
    account.notUnderstoodReported(line.lineNumber());
    return false;
}

void R5LayoutLines::report(CommandContext& ctx) const {
    WarnLines(ctx, offLayout_, msg::kR5LineOffLayout,
              "%1: line %2 does not have the R5 layout (three fields of 20 columns, each closed "
              "by a \"|\", in columns 47, 67 and 87); a value wider than its field shifts the "
              "columns after it. The line was not read.",
              "%1: lines %2 do not have the R5 layout (three fields of 20 columns, each closed "
              "by a \"|\", in columns 47, 67 and 87); a value wider than its field shifts the "
              "columns after it. The lines were not read.");
}

void WarnLines(CommandContext& ctx, const LineRanges& lines, int id, const char* one,
               const char* many) {
    if (lines.empty()) return;
    const MessageTexts texts = TextsOf(ctx);
    const std::string file = DocumentFileName(ctx), named = lines.text(texts);
    ctx.user.warning(lines.count() == 1 ? texts(id, one, {file, named})
                                        : texts(id + 10, many, {file, named}));
}

bool IsMetres(std::string_view unit) { return Trim(unit, Blanks::SpacesAndControls) == "m"; }

bool IsReadableAngleUnit(std::string_view unit) {
    const auto u = Trim(unit, Blanks::SpacesAndControls);
    return u == "gon" || u == "grd" || u == "DMS" || u == "DEG";
}

std::string UnknownUnitText(CommandContext& ctx, std::size_t line, std::string_view type,
                            std::string_view unit) {
    return TextsOf(ctx)(msg::kRecordUnitUnknown,
                        "%1: line %2: the %3 value has the unit \"%4\", which this reader does "
                        "not read (lengths in m; angles in gon, grd, DMS or DEG). Nothing was "
                        "written.",
                        {DocumentFileName(ctx), std::to_string(line),
                         std::string(Trim(type, Blanks::Spaces)),
                         std::string(Trim(unit, Blanks::SpacesAndControls))});
}

}  // namespace tarvosen::zeiss
