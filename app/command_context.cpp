#include "app/command_context.h"

#include "i18n/message_catalogue.h"

namespace tarvosen {

std::string ResetDocumentName(const AppState& state) {
    return (state.startDirectory / kDefaultDocumentName).string();
}

std::string DocumentCaption(const std::filesystem::path& document) {
    std::error_code ec;
    if (document.empty() ||
        (document.filename() == kDefaultDocumentName && !std::filesystem::exists(document, ec)))
        return kApplicationTitle;
    return document.filename().string() + " \u2014 " + kApplicationTitle;
}

const char* InstrumentLabel(int instrumentKind) {
    switch (instrumentKind) {
        case 0: return "Nikon DTM 300/400/700 Series";
        case 1: return "Nikon DTM-352/350/330、500  Series";
        case 2: return "Nikon DTM 800/801 Series";
        case 3: return "Zeiss Elta R45/55 Series";
        case 4: return "Zeiss Dini Series";
        case 5: return "Zeiss Elta C Series";
        case 6: return "PCE500S";
        default: return "";
    }
}

void CommandContext::setCaption(const std::string& caption) {
    state.caption = caption;
    user.setCaption(caption);
}

std::string CommandContext::message(int base, std::string_view englishDefault) const {
    return catalogue.lookup(base, state.languageIndex, englishDefault);
}

MessageTexts TextsOf(const CommandContext& ctx) {
    return MessageTexts{&ctx.catalogue, ctx.state.languageIndex};
}

std::string DocumentFileName(const CommandContext& ctx) {
    return std::filesystem::path(ctx.state.currentDocumentName).filename().string();
}

bool IsEndLine(std::string_view line) {
    return line.substr(0, 3) == "END" && line.find_first_not_of(' ', 3) == std::string_view::npos;
}

void AppendWorkspaceLine(CommandContext& ctx, std::string line) {
    const bool isEnd = IsEndLine(line);
    ctx.workspace.append(std::move(line));
    if (isEnd) {
        ctx.state.currentDocumentName = ResetDocumentName(ctx.state);
        ctx.setCaption(DocumentCaption(ctx.state.currentDocumentName));
    }
}

}  // namespace tarvosen
