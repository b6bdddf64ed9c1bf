#include "levelling/m5_run_reader.h"

#include "app/progress_scope.h"
#include "levelling/book_support.h"
#include "i18n/message_catalogue.h"
#include "zeiss/m5_line.h"
#include "zeiss/r5_line.h"
#include "zeiss/record_reader.h"

namespace tarvosen::levelling {

namespace {

std::string Trimmed(std::string_view text) {
    return std::string(Trim(text, Blanks::SpacesAndControls));
}

}  // namespace

ObservationLine::Kind ObservationLine::kind() const {
    if (code[0] == "Rb") return Kind::Backsight;
    if (code[0] == "Rf") return Kind::Foresight;
    if (code[0] == "Rz") return Kind::Intermediate;
    if (code[2] == "Z " && code[0] == "  ") return Kind::PointHeight;
    return Kind::Other;
}

bool ObservationLine::returnRun() const {
    return Trimmed(mark) == "F";
}

int ReadingsPerStaff(std::string_view method) {
    if (!method.empty() && method.front() == 'a') method.remove_prefix(1);
    return method == "BF" ? 1 : 2;
}

ObservationLine SplitObservationLine(std::string_view text, std::size_t lineNumber) {
    const zeiss::M5Line line(text, lineNumber);
    ObservationLine out;
    out.lineNumber = lineNumber;
    out.pointName = Trimmed(line.columns(22, 29));
    out.mark = line.columns(30, 34);
    out.clockTime = line.columns(36, 40);
    for (int i = 0; i < 3; ++i) {
        out.code[i] = line.fieldType(i);
        out.value[i] = line.fieldValue(i);
    }
    return out;
}

RunOutcome ReadM5Run(CommandContext& ctx, const Workspace& lines, RecordBook& book,
                     const std::string& file) {
    const std::string source = file.empty() ? DocumentFileName(ctx) : file;
    book.setFileName(source);
    zeiss::RecordReader reader(lines, kDiniLineLimit);
    ProgressScope progress(ctx.user, static_cast<int>(lines.lineCount()));

    RunState state = RunState::Idle;
    std::string sheetName;
    int readingsPerStaff = ReadingsPerStaff("");
    bool anySheet = false;
    // Observation lines met before any levelling line began have no sheet.
    LeftOutLines orphans;

    std::string text;
    for (int k = 0; reader.next(text); ++k) {
        ctx.user.progressSetPosition(k);
        const zeiss::M5Line line(text, reader.lineNumber());
        if (line.isEnd()) break;
        if (!line.isM5()) {
            ctx.user.error(source + ": " +
                           zeiss::NotARecordMessage(TextsOf(ctx),
                                                    ctx.message(msg::kNotDini, kNotDiniMessage),
                                                    "For M5", line.lineNumber(), text));
            return RunOutcome::NotM5;
        }
        if (line.kind() == "TO ") {
            if (line.startsAt(22, "Start-Line")) {
                sheetName = Trimmed(line.columns(45, 48));
                // The method stands between the marker and the line number.
                readingsPerStaff = ReadingsPerStaff(Trimmed(line.columns(32, 44)));
                state = RunState::Starting;
            } else if (line.startsAt(22, "End-Line")) {
                // Only the open line ends here: an End-Line of a line that
                // never got its sheet must not touch the previous sheet.
                if (state == RunState::Open) book.endLine();
                state = RunState::Closed;
            } else if (line.startsAt(22, "Cont-Line")) {
                // Data that begins with a continued line (its Start-Line lies
                // in an earlier download) gets a sheet named after the line
                // number the Cont-Line carries. A Cont-Line between a
                // Start-Line and its first observation keeps the new sheet
                // pending, so the new line never lands on the previous sheet.
                if (!anySheet) {
                    if (state == RunState::Idle) sheetName = Trimmed(line.columns(45, 48));
                    state = RunState::Starting;
                } else if (state != RunState::Starting) {
                    state = RunState::Open;
                }
            }
            continue;
        }

        const ObservationLine observation = SplitObservationLine(text, line.lineNumber());
        book.anyObservation(observation);
        if (observation.voided()) continue;
        if (state == RunState::Starting) {
            book.startSheet(sheetName, readingsPerStaff);
            anySheet = true;
            state = RunState::Open;
        }
        if (state == RunState::Open) {
            book.observation(observation);
        } else if (state == RunState::Idle && observation.kind() != ObservationLine::Kind::Other) {
            orphans.add(observation.lineNumber);
        }
    }
    const MessageTexts texts = TextsOf(ctx);
    reader.reportCutLines(ctx.user, texts);
    if (orphans.count() > 1)
        ctx.user.warning(texts(msg::kBeforeFirstStartLines,
                               "%1: The observation lines %2 came before the first Start-Line "
                               "and were left out of the book.",
                               {source, orphans.describe(texts)}));
    else if (orphans.count() == 1)
        ctx.user.warning(texts(msg::kBeforeFirstStartLine,
                               "%1: The observation line %2 came before the first Start-Line and "
                               "was left out of the book.",
                               {source, orphans.describe(texts)}));
    book.finish();
    return anySheet ? RunOutcome::Read : RunOutcome::NoLevellingLine;
}

}  // namespace tarvosen::levelling
