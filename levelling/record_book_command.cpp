#include "levelling/record_book_command.h"

#include "app/conversion.h"
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
    const RunOutcome outcome = ReadM5Run(ctx, ctx.workspace, *book);
    if (outcome == RunOutcome::NotM5) return CommandStatus::Stopped;
    // A book without a levelling line would be an empty workbook reported
    // as a finished conversion.
    if (outcome == RunOutcome::NoLevellingLine) {
        RefuseInput(ctx, ctx.message(msg::kNoLevellingLine,
                                     "The DINI data holds no levelling line (no Start-Line "
                                     "followed by observations); no workbook was written."));
        return CommandStatus::Stopped;
    }
    spreadsheet::RecordSources(session.Engine(), ctx.state.sourceFiles);
    session.SaveAs(*chosen, [&] { ctx.user.commitOutput(); });
    session.Close();
    OfferToOpenWorkbook(ctx, *chosen, book->summary(ctx));
    return CommandStatus::Done;
}

}  // namespace tarvosen::levelling
