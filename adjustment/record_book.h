#pragma once
// The traverse record book: the raw observations of every station in two
// faces, filled into a copy of the template workbook with the seconds sums,
// mean directions, index errors, corrected zenith angles and horizontal
// angles, the stations named along the traverse, and saved as .xlsx.
//
// Layout of the template's sheet: header cells J1 (line name), J2 (date) and
// E3 (instrument model); a six-row station block in rows 9 to 14, columns A
// to T: the backsight in the first row pair (face I, face II), the foresight
// in the second, a spare pair. Station k's block starts in row 6k + 9.

#include <filesystem>
#include <string_view>

#include "app/outcome.h"
#include "app/workspace.h"
#include "adjustment/adjustment_options.h"
#include "adjustment/adjustment_text.h"

namespace tarvosen {

struct CommandContext;

inline constexpr const char* kRecordBookTemplate = "RIZUV.xlsx";
inline constexpr const char* kRecordBookFilter = "Excel File(*.xlsx)|*.xlsx";

// Columns of the station block (A = 1).
namespace book_column {
inline constexpr int kStation = 1;       // A: station name, instrument height
inline constexpr int kTarget = 2;        // B: target name, target height
inline constexpr int kFace = 3;          // C: "I", "II"
inline constexpr int kHorizontal = 4;    // D E F: horizontal reading d m s
inline constexpr int kSecondsSum = 7;    // G
inline constexpr int kMean = 8;          // H: mean direction minutes / seconds
inline constexpr int kAngle = 10;        // J K L: horizontal angle d m s
inline constexpr int kZenith = 13;       // M N O: zenith reading d m s
inline constexpr int kIndexError = 16;   // P
inline constexpr int kCorrected = 17;    // Q: corrected zenith minutes / seconds
inline constexpr int kMetres = 19;       // S: slope distance, whole metres
inline constexpr int kMillimetres = 20;  // T: and millimetres
}  // namespace book_column

inline constexpr int kFirstBlockRow = 9;
inline constexpr int kBlockRows = 6;
// Names longer than this do not show whole in the template's name columns.
inline constexpr std::size_t kBookNameColumnChars = 15;

// The template: TraverseOptions::templateFile when given, else RIZUV.xlsx in the
// folder the program was started from, else in the data folders. Throws
// FileError naming the places looked in.
std::filesystem::path FindRecordBookTemplate(const CommandContext& ctx);

// Finds and reads the template, so a missing or broken one stops a command
// before it changes anything. Throws as WriteRecordBook does.
void CheckRecordBookTemplate(const CommandContext& ctx);

// Fills the record book from the raw records of `raw` and saves it as
// `bookFile`, then offers to open it. Refused when the data hold no set-up
// (said to the user, nothing saved). With reportReading the book is the
// only product: it warns about the lines it could not use, refuses a strict
// run with a line not understood (nothing saved) and gives `reading` what
// it read. Without it, the warnings and the account the adjustment text has
// given already are not repeated. Throws ConversionError for a height
// increment that is not a number, FileError or SpreadsheetError when the
// template or the book cannot be read or written.
Outcome WriteRecordBook(CommandContext& ctx, const Workspace& raw,
                        const std::filesystem::path& bookFile, bool reportReading,
                        TraverseReading& reading);

}  // namespace tarvosen
