#include "levelling/record_book_command.h"

#include "app/conversion.h"
#include "app/line_account.h"
#include "spreadsheet/provenance.h"
#include "zeiss/address_continuity.h"

namespace tarvosen::levelling {

CommandStatus BuildRecordBook(CommandContext& ctx, const BookFactory& makeBook) {
    const auto chosen = ctx.user.chooseSaveFile(kWorkbookFilter, kWorkbookExtension);
    if (!chosen) return CommandStatus::Cancelled;
    zeiss::ReportAddressContinuity(ctx, zeiss::DocumentFileName(ctx));

    spreadsheet::SpreadsheetSession session;
    session.NewWorkbook();
    const auto book = makeBook(session);
    LineAccount account;
    const ReadOutcome outcome =
        ReadLevelling(ctx, ctx.workspace, DocumentFileName(ctx), *book, account);
    if (outcome == ReadOutcome::Refused) return CommandStatus::Stopped;
    if (!CheckLinesUnderstood(ctx, account)) return CommandStatus::Stopped;
    // A book without a levelling line would be an empty workbook reported
    // as a finished conversion.
    if (outcome == ReadOutcome::NoLevellingLine) {
        RefuseInput(ctx, ctx.message(msg::kNoLevellingLine,
                                     "The DINI data holds no levelling line (no Start-Line "
                                     "followed by observations); no workbook was written."));
        return CommandStatus::Stopped;
    }
    spreadsheet::RecordSources(session.Engine(), ctx.state.sourceFiles);
    session.SaveAs(*chosen, [&] { ctx.user.commitOutput(); });
    session.Close();
    const MessageTexts texts = TextsOf(ctx);
    NoteReadSummary(ctx, account,
                    book->sheetCount() == 1
                        ? texts(msg::kLevellingSheetWritten, "1 levelling line written")
                        : texts(msg::kLevellingSheetsWritten, "%1 levelling lines written",
                                {std::to_string(book->sheetCount())}));
    OfferToOpenWorkbook(ctx, *chosen, book->resultSentence(ctx));
    return CommandStatus::Done;
}

}  // namespace tarvosen::levelling
