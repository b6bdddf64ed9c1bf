#include "levelling/record_book_command.h"

#include "spreadsheet/provenance.h"
#include "zeiss/address_continuity.h"

namespace tarvosen::levelling {

std::string BookSavedQuestion(const std::filesystem::path& path) {
    return "文件转换完毕，结果文件存于：" + path.string() + "文件中。是否启用EXCEL打开此结果文档？";
}

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
        ctx.user.warning(
            "The DINI data holds no levelling line (no Start-Line followed by observations); "
            "no workbook was written.");
        return CommandStatus::Stopped;
    }
    spreadsheet::RecordSources(session.Engine(), ctx.state.sourceFiles);
    session.SaveAs(*chosen);
    session.Close();
    if (ctx.user.confirm(BookSavedQuestion(*chosen))) ctx.user.openWithDesktop(*chosen);
    return CommandStatus::Done;
}

}  // namespace tarvosen::levelling
