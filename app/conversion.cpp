#include "app/conversion.h"

#include "i18n/message_catalogue.h"

namespace tarvosen {

CommandStatus ConvertToFile(CommandContext& ctx, const ConvertToFileSteps& steps) {
    auto chosen = ctx.user.chooseSaveFile(steps.filter, steps.defaultExtension);
    if (!chosen) return CommandStatus::Cancelled;

    // Each stage reads the previous result; the first reads the workspace
    // itself, which no stage changes.
    Workspace previous, result;
    const Workspace* input = &ctx.workspace;
    for (const auto& stage : steps.stages) {
        result.clear();
        if (!stage(ctx, *input, result)) return CommandStatus::Stopped;
        previous.takeFrom(result);
        input = &previous;
    }

    // The result is saved under the chosen name before it takes the
    // workspace's place: when the save fails the user's text is still there.
    // A cancel before the file is replaced leaves the file as it was.
    previous.save(*chosen, [&] { ctx.user.commitOutput(); });
    ctx.workspace.takeFrom(previous);
    // Only now the document is the output: a refusal names the input, and
    // Save after a failed conversion does not write the input over it.
    ctx.state.currentDocumentName = chosen->string();
    StampDocument(ctx.state, *chosen);
    ctx.setCaption(DocumentCaption(*chosen));
    return CommandStatus::Done;
}

CommandStatus ConvertInPlace(CommandContext& ctx, const ConvertInPlaceSteps& steps,
                             const InPlaceBody& body) {
    Workspace original;
    original.takeFrom(ctx.workspace);
    auto restore = [&] { ctx.workspace.takeFrom(original); };
    bool finished = false;
    try {
        finished = body(ctx, original);
    } catch (...) {
        restore();
        throw;
    }
    if (!finished) {
        restore();
        return CommandStatus::Stopped;
    }
    if (steps.resetDocumentName) {
        ctx.state.currentDocumentName = ResetDocumentName(ctx.state);
        ctx.setCaption(DocumentCaption(ctx.state.currentDocumentName));
    }
    return CommandStatus::Done;
}

void RefuseInput(CommandContext& ctx, const std::string& text) {
    ctx.user.error(DocumentFileName(ctx) + ": " + text);
}

bool RefuseEmptyInput(CommandContext& ctx, int base, std::string_view english) {
    for (std::string_view line : ctx.workspace.view())
        if (line.find_first_not_of(" \t\r\x1a") != std::string_view::npos) return false;
    RefuseInput(ctx, ctx.message(base, english));
    return true;
}

void OfferToOpenWorkbook(CommandContext& ctx, const std::filesystem::path& path,
                         const std::string& summary) {
    if (!ctx.user.canAsk()) {
        ctx.user.information(ctx.message(msg::kWrote, "wrote ") + path.string());
        const auto end = summary.find_last_not_of(' ');
        if (end != std::string::npos) ctx.user.information(summary.substr(0, end + 1));
        return;
    }
    const std::string question =
        ctx.message(msg::kBookSavedIn, "The conversion is finished; the result is saved in ") +
        path.string() + ctx.message(msg::kBookSavedAfter, ". ") + summary +
        ctx.message(msg::kOpenBookQuestion, "Open it in the spreadsheet program?");
    if (ctx.user.confirm(question)) ctx.user.openWithDesktop(path);
}

}  // namespace tarvosen
