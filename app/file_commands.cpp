#include "app/file_commands.h"

#include "app/errors.h"
#include "app/text_check.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {

bool LoadDocument(CommandContext& ctx, const std::filesystem::path& path) {
    if (std::filesystem::is_directory(path))
        throw FileError({msg::kCannotOpenFolder, "Cannot open file \"%1\": it is a folder",
                         {path.string()}});
    std::string bytes = ReadFileBytes(path);  // throws before anything changes
    // A picture or a program shown as text is rubbish in the editor and in
    // every conversion: the user is asked first, the command line refuses.
    if (const auto why = WhyNotText(bytes, TextsOf(ctx))) {
        const std::string refusal =
            path.string() + " " + ctx.message(msg::kNotTextFile, "is not a text file:") + " " + *why;
        const std::string fullStop = ctx.message(msg::kFullStop, ".");
        if (!ctx.user.canAsk()) throw FileError(refusal + fullStop);
        if (!ctx.user.confirm(refusal + fullStop + "\n" +
                              ctx.message(msg::kShowItAllTheSame, "Show it all the same?")))
            return false;
    }
    ctx.state.sourceFiles = {{path.filename().string(), Sha256Hex(bytes)}};
    ctx.state.shownAddressFindings.clear();  // a new text: its findings are shown
    ctx.workspace.replaceAllBytes(std::move(bytes));
    ctx.state.currentDocumentName = path.string();
    StampDocument(ctx.state, path);
    ctx.setCaption(DocumentCaption(path));
    return true;
}

CommandStatus LoadFileCommand(CommandContext& ctx) {
    auto path = ctx.user.chooseOpenFile(kOpenFilter);
    if (!path) return CommandStatus::Cancelled;
    return LoadDocument(ctx, *path) ? CommandStatus::Done : CommandStatus::Cancelled;
}

CommandStatus SaveFileCommand(CommandContext& ctx) {
    // A text that has no file of its own (never saved, cleared, ended by a
    // download) gets a name from the user rather than a file of the start folder.
    if (!DocumentHasFile(ctx.state)) return SaveAsCommand(ctx);
    const std::string& path = ctx.state.currentDocumentName;
    // Another program (or another window) wrote the file since: its text is
    // not replaced without a question.
    if (DocumentChangedOnDisk(ctx.state)) {
        if (!ctx.user.canAsk())
            throw FileError({msg::kFileChangedNotSaved,
                             "The file %1 was changed on disk since it was loaded or saved; it "
                             "was not overwritten.",
                             {path}});
        if (!ctx.user.confirm(TextsOf(ctx)(
                msg::kFileChangedOnDisk,
                "The file %1 was changed on disk since it was loaded or saved. Overwrite it?",
                {path})))
            return CommandStatus::Cancelled;
    }
    ctx.workspace.save(path);
    StampDocument(ctx.state, path);
    return CommandStatus::Done;
}

CommandStatus SaveAsCommand(CommandContext& ctx) {
    auto path = ctx.user.chooseSaveFile(kSaveAsFilter);
    if (!path) return CommandStatus::Cancelled;
    ctx.workspace.save(*path);  // throws before the name and caption change
    ctx.state.currentDocumentName = path->string();
    StampDocument(ctx.state, *path);
    ctx.setCaption(DocumentCaption(*path));
    return CommandStatus::Done;
}

CommandStatus ClearCommand(CommandContext& ctx) {
    ctx.workspace.clear();
    ctx.state.sourceFiles.clear();
    ctx.state.shownAddressFindings.clear();
    // The empty text is no longer the file it was loaded from: Save asks
    // for a name instead of writing over that file.
    ctx.state.currentDocumentName = ResetDocumentName(ctx.state);
    ctx.setCaption(DocumentCaption(ctx.state.currentDocumentName));
    return CommandStatus::Done;
}

namespace {

CommandStatus SelectLanguage(CommandContext& ctx, int index) {
    ctx.state.languageIndex = index;
    return CommandStatus::Done;
}

CommandStatus SelectInstrument(CommandContext& ctx, int kind) {
    ctx.state.instrumentKind = kind;
    return CommandStatus::Done;
}

}  // namespace

CommandStatus ToggleStrictReadingCommand(CommandContext& ctx) {
    ctx.state.strictReading = !ctx.state.strictReading;
    return CommandStatus::Done;
}

CommandStatus SelectEnglish(CommandContext& ctx) { return SelectLanguage(ctx, 1); }
CommandStatus SelectSimplifiedChinese(CommandContext& ctx) { return SelectLanguage(ctx, 2); }
CommandStatus SelectTraditionalChinese(CommandContext& ctx) { return SelectLanguage(ctx, 3); }

CommandStatus SelectInstrument0(CommandContext& ctx) { return SelectInstrument(ctx, 0); }
CommandStatus SelectInstrument1(CommandContext& ctx) { return SelectInstrument(ctx, 1); }
CommandStatus SelectInstrument2(CommandContext& ctx) { return SelectInstrument(ctx, 2); }
CommandStatus SelectInstrument3(CommandContext& ctx) { return SelectInstrument(ctx, 3); }
CommandStatus SelectInstrument4(CommandContext& ctx) { return SelectInstrument(ctx, 4); }
CommandStatus SelectInstrument5(CommandContext& ctx) { return SelectInstrument(ctx, 5); }
CommandStatus SelectInstrument6(CommandContext& ctx) { return SelectInstrument(ctx, 6); }

void ThrowNotBuilt(std::string_view what) {
    throw NotBuiltError(std::string(what) + " is not built yet");
}

}  // namespace tarvosen
