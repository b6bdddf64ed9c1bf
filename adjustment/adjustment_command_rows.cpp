// The rows of the Nikon raw exports to adjustment programs.
// The command table (commands/) places them in the menus.

#include <array>

#include "app/command.h"
#include "adjustment/adjustment_commands.h"
#include "adjustment/nikon_raw.h"
#include "app/errors.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;


const std::array kRows = std::to_array<CommandRow>({
    {Item, "convert.nikon.cosa", {"NIKON RAW -> COSA adjustment (*.in2)", "convert.nikon"},
     {"NIKON RAW -> 武测科傻平差格式", "convert.nikon"}, {"NIKON RAW -> 武測科傻平差格式", "convert.nikon"},
     NikonToCosaCommand, {}, 0, "nikon-to-cosa",
     "Convert Nikon raw data to a COSA plane observation file (*.in2).", NikonToCosaCliOptions,
     Workspace},
    {Item, "convert.nikon.traverse", {"NIKON RAW -> Traverse adjustment and record book", "convert.nikon"},
     {"NIKON RAW -> 勘测院导线平差格式", "convert.nikon"},
     {"NIKON RAW -> 勘測院導線平差格式", "convert.nikon"},
     NikonToTraverseCommand, {}, 0, "nikon-to-traverse",
     "Convert Nikon raw data to the traverse adjustment text and, with --book, the record book.",
     NikonToTraverseCliOptions, Workspace},
});

}  // namespace

std::span<const CommandRow> AdjustmentCommandRows() { return kRows; }

namespace {

std::optional<LineAccount> AccountOfNikonRaw(CommandContext& ctx,
                                             const tarvosen::Workspace& lines) {
    try {
        return AccountNikonRawLines(lines, DocumentFileName(ctx));
    } catch (const Failure& e) {
        ctx.user.error(e.text(TextsOf(ctx)));
        return std::nullopt;
    }
}

constexpr FormatCheck kFormatChecks[] = {{"Nikon raw", IsNikonRaw, AccountOfNikonRaw}};

}  // namespace

std::span<const FormatCheck> AdjustmentFormatChecks() { return kFormatChecks; }

}  // namespace tarvosen
