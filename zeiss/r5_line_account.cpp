#include "zeiss/r5_line_account.h"

#include "app/conversion.h"
#include "zeiss/address_continuity.h"

namespace tarvosen::zeiss {

namespace {

// The singular text at `id`, the plural at `id` + 10: %1 the file, %2 the lines.
void WarnLines(CommandContext& ctx, const LineRanges& lines, int id, const char* one,
               const char* many) {
    if (lines.empty()) return;
    const MessageTexts texts = TextsOf(ctx);
    const std::string file = DocumentFileName(ctx), named = lines.text(texts);
    ctx.user.warning(lines.count() == 1 ? texts(id, one, {file, named})
                                        : texts(id + 10, many, {file, named}));
}

}  // namespace

bool R5LineAccount::readable(const R5Line& line) {
    if (line.hasR5Layout()) return true;
    offLayout_.add(line.lineNumber());
    return false;
}

void R5LineAccount::report(CommandContext& ctx, int passedOverId, const char* passedOverOne,
                           const char* passedOverMany) const {
    WarnLines(ctx, offLayout_, msg::kR5LineOffLayout,
              "%1: line %2 does not have the R5 layout (three fields of 20 columns, each closed "
              "by a \"|\", in columns 47, 67 and 87); a value wider than its field shifts the "
              "columns after it. The line was not read.",
              "%1: lines %2 do not have the R5 layout (three fields of 20 columns, each closed "
              "by a \"|\", in columns 47, 67 and 87); a value wider than its field shifts the "
              "columns after it. The lines were not read.");
    WarnLines(ctx, passedOver_, passedOverId, passedOverOne, passedOverMany);
    WarnLines(ctx, withoutStation_, msg::kR5ObservationsWithoutStation,
              "%1: line %2 is a polar observation before any station or orientation record; "
              "no point was computed from it.",
              "%1: lines %2 are polar observations before any station or orientation record; "
              "no point was computed from them.");
}

std::string R5LineAccount::RefuseNothingWritten(CommandContext& ctx, std::size_t lines, int id,
                                         const char* english) {
    const std::string refusal = TextsOf(ctx)(id, english, {std::to_string(lines)});
    RefuseInput(ctx, refusal);
    return refusal;
}

}  // namespace tarvosen::zeiss
