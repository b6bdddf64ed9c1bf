#include "app/conversion.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "app/errors.h"

namespace tarvosen {

namespace {

void RemoveQuietly(const std::filesystem::path& p) {
    std::error_code ignored;
    std::filesystem::remove(p, ignored);
}

// The staged copy of the workspace, held open while a conversion runs: the
// open file keeps its text even when the name is removed or replaced under
// the conversion, so the text can always be given back.
class StagedCopy {
public:
    explicit StagedCopy(std::filesystem::path path)
        : path_(std::move(path)), file_(std::fopen(path_.c_str(), "rb")) {
        if (!file_)
            throw FileError("Cannot open file \"" + path_.string() + "\": " + std::strerror(errno));
    }
    ~StagedCopy() { close(); }
    StagedCopy(const StagedCopy&) = delete;
    StagedCopy& operator=(const StagedCopy&) = delete;

    // The staged text, read from the start of the open file. A read that
    // fails throws: the text is then only in the staged file, which is kept,
    // and the message says where it is.
    std::string bytes() {
        std::string bytes;
        bool ok = file_ && std::fseek(file_, 0, SEEK_SET) == 0;
        char buffer[1 << 16];
        std::size_t n;
        while (ok && (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) bytes.append(buffer, n);
        if (!ok || std::ferror(file_))
            throw FileError("Cannot read the text back from \"" + path_.string() +
                            "\": " + std::strerror(errno) + ". The text is kept in that file.");
        return bytes;
    }
    void close() {
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }

private:
    std::filesystem::path path_;
    std::FILE* file_;
};

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

    // The result is saved under the chosen name before it takes the
    // workspace's place: when the save fails the user's text is still there.
    Workspace result;
    result.load(current);
    result.save(*chosen);
    ctx.workspace.takeFrom(result);
    ctx.setCaption(std::string(kApplicationTitle) + "--[" + chosen->string() + "]");
    for (const auto& p : written) RemoveQuietly(p);
    return CommandStatus::Done;
}

CommandStatus ConvertInPlace(CommandContext& ctx, const ConvertInPlaceSteps& steps,
                             const InPlaceBody& body) {
    const auto temp = ctx.tempFile(steps.temp);
    ctx.workspace.save(temp);
    // Opened before the workspace is cleared: a conversion that stops or
    // fails gets the text back from here, so a large text is never held
    // twice in memory, and a temporary file that went missing meanwhile
    // loses nothing.
    StagedCopy staged(temp);
    ctx.workspace.clear();

    auto restore = [&] { ctx.workspace.replaceAllBytes(staged.bytes()); };
    bool finished = false;
    try {
        finished = body(ctx, temp);
    } catch (...) {
        restore();
        throw;
    }
    if (!finished) {
        restore();
        staged.close();
        if (!steps.keepTempOnStop) RemoveQuietly(temp);
        return CommandStatus::Stopped;
    }
    staged.close();
    RemoveQuietly(temp);
    if (steps.resetDocumentName) {
        ctx.state.currentDocumentName = ResetDocumentName(ctx.state);
        ctx.setCaption(ctx.state.currentDocumentName);
    }
    return CommandStatus::Done;
}

}  // namespace tarvosen
