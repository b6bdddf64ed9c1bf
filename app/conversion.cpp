#include "app/conversion.h"

#include <system_error>

namespace tarvosen {

namespace {

void RemoveQuietly(const std::filesystem::path& p) {
    std::error_code ignored;
    std::filesystem::remove(p, ignored);
}

}  // namespace

CommandStatus ConvertToFile(CommandContext& ctx, const ConvertToFileSteps& steps) {
    auto chosen = ctx.user.chooseSaveFile(steps.filter, steps.defaultExtension);
    if (!chosen) return CommandStatus::Cancelled;
    ctx.state.currentDocumentName = chosen->string();

    const auto input = ctx.tempFile(steps.inputTemp);
    ctx.workspace.save(input);

    std::filesystem::path current = input;
    std::vector<std::filesystem::path> written;
    for (std::size_t i = 0; i < steps.stages.size(); ++i) {
        const auto out = ctx.tempFile(steps.stageTemps.at(i));
        if (!steps.stages[i](ctx, current, out)) return CommandStatus::Stopped;
        if (i == 0) RemoveQuietly(input);
        written.push_back(out);
        current = out;
    }

    ctx.workspace.load(current);
    ctx.workspace.save(*chosen);
    ctx.setCaption(std::string(kApplicationTitle) + "--[" + chosen->string() + "]");
    for (const auto& p : written) RemoveQuietly(p);
    return CommandStatus::Done;
}

CommandStatus ConvertInPlace(CommandContext& ctx, const ConvertInPlaceSteps& steps,
                             const InPlaceBody& body) {
    const auto temp = ctx.tempFile(steps.temp);
    ctx.workspace.save(temp);
    ctx.workspace.clear();

    // The temporary file holds the text line for line; a conversion that
    // stops or fails gets it back from there, so a large text is never held
    // twice in memory.
    auto restore = [&] {
        try {
            ctx.workspace.load(temp);
        } catch (const std::exception&) {
            // The conversion's own failure is the one to report.
        }
    };
    bool finished = false;
    try {
        finished = body(ctx, temp);
    } catch (...) {
        restore();
        throw;
    }
    if (!finished) {
        restore();
        if (!steps.keepTempOnStop) RemoveQuietly(temp);
        return CommandStatus::Stopped;
    }
    RemoveQuietly(temp);
    if (steps.resetDocumentName) {
        ctx.state.currentDocumentName = ResetDocumentName(ctx.state);
        ctx.setCaption(ctx.state.currentDocumentName);
    }
    return CommandStatus::Done;
}

}  // namespace tarvosen
