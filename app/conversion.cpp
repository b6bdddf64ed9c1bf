#include "app/conversion.h"

namespace tarvosen {

CommandStatus ConvertToFile(CommandContext& ctx, const ConvertToFileSteps& steps) {
    auto chosen = ctx.user.chooseSaveFile(steps.filter, steps.defaultExtension);
    if (!chosen) return CommandStatus::Cancelled;
    ctx.state.currentDocumentName = chosen->string();

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
    previous.save(*chosen);
    ctx.workspace.takeFrom(previous);
    ctx.setCaption(std::string(kApplicationTitle) + "--[" + chosen->string() + "]");
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
        ctx.setCaption(ctx.state.currentDocumentName);
    }
    return CommandStatus::Done;
}

}  // namespace tarvosen
