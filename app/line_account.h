#pragma once
// What a reader did with every line of its input. Each line is used (it went
// into the output), passed over as a kind the reader knows and the command
// does not need (a header, a setting it applied, a station summary, a blank
// line), or not understood. A run then ends with one summary line, warns
// about the lines not understood (an error when reading strictly, before
// anything is written), and a run that wrote nothing is refused.
//
//   LineAccount account(DocumentFileName(ctx));
//   ... for each line: account.used(n) / passedOver(n, kind) / notUnderstood(n)
//   if (!CheckLinesUnderstood(ctx, account)) return false;   // nothing written
//   ... write; count what was written ...
//   if (written == 0) return RefuseNothingWritten(ctx, account);
//   NoteReadSummary(ctx, account, ctx.message(kMyPointsWritten, "%1 points written") ...);

#include <cstddef>
#include <string>
#include <vector>

#include "app/command_context.h"
#include "i18n/line_ranges.h"

namespace tarvosen {

// A kind of line a reader passes over: the catalogue id of its name in the
// plural ("station records") and the English name.
struct PassedOverKind {
    int id = 0;
    const char* english = "";
};

// Kinds most readers meet.
inline constexpr PassedOverKind kBlankLines{msg::kBlankLinesKind, "blank lines"};
inline constexpr PassedOverKind kHeaderLines{msg::kHeaderLinesKind, "header lines"};

class LineAccount {
  public:
    LineAccount() = default;
    explicit LineAccount(std::string file) { beginFile(std::move(file)); }

    // The lines counted from now on are of `file` (as messages name it). A
    // command that reads several files begins each in turn.
    void beginFile(std::string file);
    // Names the current file anew: a reader run away from the document (the
    // `check` of several files) counted its lines under the document's name.
    void renameFile(std::string file) { current().name = std::move(file); }

    void used(std::size_t line);
    void passedOver(std::size_t line, PassedOverKind kind);
    void notUnderstood(std::size_t line);
    // A line not understood that the reader's own warning names already: it
    // counts as not understood, and stops a strict run, but the general
    // warning does not name it a second time.
    void notUnderstoodReported(std::size_t line);

    // Lines of every file counted so far, and of each use.
    std::size_t lineCount() const;
    std::size_t usedCount() const;
    std::size_t passedOverCount() const;
    std::size_t notUnderstoodCount() const;

    struct File {
        std::string name;
        std::size_t used = 0;
        std::size_t passedOver = 0;
        std::vector<std::pair<PassedOverKind, std::size_t>> passedOverKinds;  // in order met
        LineRanges notUnderstood;
        LineRanges unreported;  // of notUnderstood, those no warning named yet
    };
    const std::vector<File>& files() const { return files_; }

  private:
    File& current();
    std::vector<File> files_;
};

// After reading, before anything is written: a warning per file naming the
// lines not understood. When the run reads strictly (AppState::strictReading)
// it is an error instead, and false is returned: the command must write
// nothing and stop.
bool CheckLinesUnderstood(CommandContext& ctx, const LineAccount& account);

// The summary of the run, shown as a note (standard error "note: ..." on the
// command line, the status line in the window): "read 151 lines of
// job.r5: 144 points written; passed over 6 lines (station records, texts);
// 1 line not understood (106)". `written` says what the run wrote.
void NoteReadSummary(CommandContext& ctx, const LineAccount& account, const std::string& written);
std::string ReadSummaryText(const MessageTexts& texts, const LineAccount& account,
                            const std::string& written);

// "1 station" or "12 stations" for what a run wrote: the catalogue text `id`
// for one, `id` + 10 (with %1 the count) for any other count.
std::string CountText(const MessageTexts& texts, std::size_t count, int id, const char* one,
                      const char* many);

// The error of a run that wrote nothing from a non-empty input: "Nothing was
// written: none of the 12 lines of job.r5 gave ..." Always returns false so a
// stage can `return RefuseNothingWritten(...)`.
bool RefuseNothingWritten(CommandContext& ctx, const LineAccount& account);

}  // namespace tarvosen
