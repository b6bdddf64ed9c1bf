#include "leica/gsi_lines.h"

#include "app/trim.h"

namespace tarvosen::leica {

const PassedOverKind kGsiCodeBlocks{msg::kGsiCodeBlocksKind, "code blocks"};
const PassedOverKind kGsiPointIds{msg::kGsiPointIdsKind, "point ids without values"};

bool ForEachGsiBlock(CommandContext& ctx, const Workspace& lines, const std::string& file,
                     LineAccount& account,
                     const std::function<void(const GsiBlock&, std::size_t line)>& each) {
    const std::size_t count = lines.lineCount();
    const WorkspaceLines view = lines.view();
    GsiBlock block;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = view[i];
        const std::size_t line = i + 1;
        if (Trim(text, Blanks::WhiteSpace).empty()) {
            account.passedOver(line, kBlankLines);
            continue;
        }
        if (!SplitGsiBlock(text, block)) {
            account.notUnderstood(line);
            continue;
        }
        for (const GsiWord& w : block.words)
            if (!KnownGsiUnit(w.unit)) {
                ctx.user.error(TextsOf(ctx)(
                    msg::kGsiUnknownUnit,
                    "%1, line %2: the word %3 has the unit code \"%4\", which GSI does not "
                    "define; nothing was written.",
                    {file, std::to_string(line), std::to_string(w.index), std::string(1, w.unit)}));
                return false;
            }
        each(block, line);
    }
    return true;
}

bool RefuseGsiValue(CommandContext& ctx, const std::string& file, std::size_t line,
                    const GsiWord& word) {
    ctx.user.error(TextsOf(ctx)(msg::kGsiBadValue,
                                "%1, line %2: the word %3 holds no value in a unit it can take "
                                "(unit code \"%4\", data \"%5\"); nothing was written.",
                                {file, std::to_string(line), std::to_string(word.index),
                                 std::string(1, word.unit), std::string(word.data)}));
    return false;
}

bool GsiHasWord(const Workspace& lines, const std::function<bool(const GsiBlock&)>& wanted) {
    const std::size_t count = lines.lineCount();
    std::size_t looked = 0;
    for (std::size_t i = 0; i < count && looked < 50; ++i) {
        const auto block = SplitGsiBlock(lines.view()[i]);
        if (!block) continue;
        ++looked;
        if (wanted(*block)) return true;
    }
    return false;
}

}  // namespace tarvosen::leica
