#include "app/line_account.h"

#include "app/app_state.h"

namespace tarvosen {

namespace {

std::string KindsText(const MessageTexts& texts,
                      const std::vector<std::pair<PassedOverKind, std::size_t>>& kinds) {
    std::vector<std::string> names;
    for (const auto& [kind, count] : kinds) {
        std::string name = texts(kind.id, kind.english);
        bool seen = false;
        for (const auto& n : names) seen = seen || n == name;
        if (!seen) names.push_back(std::move(name));
    }
    return ListOf(names, texts, true, 0);
}

}  // namespace

void LineAccount::beginFile(std::string file) {
    files_.push_back(File{std::move(file), 0, 0, {}, {}, {}});
}

LineAccount::File& LineAccount::current() {
    if (files_.empty()) files_.push_back(File{});
    return files_.back();
}

void LineAccount::used(std::size_t) { ++current().used; }

void LineAccount::passedOver(std::size_t, PassedOverKind kind) {
    File& f = current();
    ++f.passedOver;
    for (auto& [k, count] : f.passedOverKinds)
        if (k.id == kind.id) {
            ++count;
            return;
        }
    f.passedOverKinds.emplace_back(kind, 1);
}

void LineAccount::notUnderstood(std::size_t line) {
    current().notUnderstood.add(line);
    current().unreported.add(line);
}

void LineAccount::notUnderstoodReported(std::size_t line) { current().notUnderstood.add(line); }

std::size_t LineAccount::usedCount() const {
    std::size_t n = 0;
    for (const auto& f : files_) n += f.used;
    return n;
}

std::size_t LineAccount::passedOverCount() const {
    std::size_t n = 0;
    for (const auto& f : files_) n += f.passedOver;
    return n;
}

std::size_t LineAccount::notUnderstoodCount() const {
    std::size_t n = 0;
    for (const auto& f : files_) n += f.notUnderstood.count();
    return n;
}

std::size_t LineAccount::lineCount() const {
    return usedCount() + passedOverCount() + notUnderstoodCount();
}

bool CheckLinesUnderstood(CommandContext& ctx, const LineAccount& account) {
    const MessageTexts texts = TextsOf(ctx);
    const bool strict = ctx.state.strictReading;
    bool understood = true;
    for (const auto& f : account.files()) {
        if (f.notUnderstood.empty()) continue;
        if (strict) {
            const std::string lines = f.notUnderstood.text(texts);
            ctx.user.error(texts(msg::kNotUnderstoodStrict,
                                 "%1: lines not understood: %2. Reading strictly, nothing was "
                                 "written.",
                                 {f.name, lines}));
            understood = false;
        } else if (f.unreported.count() == 1) {
            ctx.user.warning(texts(msg::kNotUnderstoodOne,
                                   "%1: line %2 was not understood and was left out.",
                                   {f.name, f.unreported.text(texts)}));
        } else if (!f.unreported.empty()) {
            ctx.user.warning(texts(msg::kNotUnderstoodMany,
                                   "%1: %3 lines were not understood and were left out: %2.",
                                   {f.name, f.unreported.text(texts),
                                    std::to_string(f.unreported.count())}));
        }
    }
    return understood;
}

std::string ReadSummaryText(const MessageTexts& texts, const LineAccount& account,
                            const std::string& written) {
    const std::size_t lines = account.lineCount();
    std::string text;
    if (account.files().size() > 1)
        text = texts(msg::kReadSummaryFiles, "read %1 lines of %2 files: %3",
                     {std::to_string(lines), std::to_string(account.files().size()), written});
    else if (lines == 1)
        text = texts(msg::kReadSummaryOneLine, "read 1 line of %1: %2",
                     {account.files().empty() ? std::string() : account.files().front().name,
                      written});
    else
        text = texts(msg::kReadSummary, "read %1 lines of %2: %3",
                     {std::to_string(lines),
                      account.files().empty() ? std::string() : account.files().front().name,
                      written});

    std::vector<std::pair<PassedOverKind, std::size_t>> kinds;
    LineRanges notUnderstood;
    for (const auto& f : account.files()) {
        kinds.insert(kinds.end(), f.passedOverKinds.begin(), f.passedOverKinds.end());
        // With several files the lines of each are named in its own warning.
        if (account.files().size() == 1) notUnderstood = f.notUnderstood;
    }
    const std::size_t passed = account.passedOverCount();
    if (passed == 1)
        text += texts(msg::kSummaryPassedOverOne, "; passed over 1 line (%1)", {KindsText(texts, kinds)});
    else if (passed > 1)
        text += texts(msg::kSummaryPassedOverMany, "; passed over %1 lines (%2)",
                      {std::to_string(passed), KindsText(texts, kinds)});
    const std::size_t missed = account.notUnderstoodCount();
    if (missed > 0 && notUnderstood.empty())
        text += texts(msg::kSummaryNotUnderstoodCount, "; %1 lines not understood",
                      {std::to_string(missed)});
    else if (missed == 1)
        text += texts(msg::kSummaryNotUnderstoodOne, "; 1 line not understood (%1)",
                      {notUnderstood.text(texts, 5)});
    else if (missed > 1)
        text += texts(msg::kSummaryNotUnderstoodMany, "; %1 lines not understood (%2)",
                      {std::to_string(missed), notUnderstood.text(texts, 5)});
    return text;
}

void NoteReadSummary(CommandContext& ctx, const LineAccount& account, const std::string& written) {
    ctx.user.showNote(ReadSummaryText(TextsOf(ctx), account, written));
}

std::string CountText(const MessageTexts& texts, std::size_t count, int id, const char* one,
                      const char* many) {
    return count == 1 ? texts(id, one) : texts(id + 10, many, {std::to_string(count)});
}

bool RefuseNothingWritten(CommandContext& ctx, const LineAccount& account) {
    const MessageTexts texts = TextsOf(ctx);
    ctx.user.error(ReadSummaryText(texts, account, texts(msg::kNothingWritten, "nothing written")));
    return false;
}

}  // namespace tarvosen
