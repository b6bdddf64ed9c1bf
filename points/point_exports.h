#pragma once
// The exports of a point list, each a ConvertInPlace body: it reads the staged
// workspace `in` and appends the result lines to the workspace. A workspace
// that is no point list stops the export with an error; otherwise one
// information line names the layout read, and warnings about lines that
// could not be read as they stand are shown once, at the end.

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_context.h"
#include "points/point_record.h"

namespace tarvosen::points {

// The number of lines the drawing of these point list lines takes.
std::size_t DxfLineCount(const WorkspaceLines& pointList);

bool ExportPointsToDxf(CommandContext& ctx, const Workspace& in);
bool ExportPointsToR5(CommandContext& ctx, const Workspace& in);
bool ExportPointsToCor(CommandContext& ctx, const Workspace& in);
bool ExportPointsToOrg(CommandContext& ctx, const Workspace& in);

// EPSW *.COR: the two lines of the entry of the `counter`-th point (from 1).
std::string CorNumberLine(long counter);
std::string CorPointLine(const PointRecord& p);

// TOPMAP/Daoheng *.org: "b,name,X,Y,Z,16384=10+CCC,    0,    0,    0".
std::string OrgLine(const PointRecord& p);

// Rewrites a point name for the R5 point number field: digits and bytes
// outside 48..127 stay, A..Z become 1..26, every other character its code
// minus 96 (a..z give 1..26). Only the first 4 characters of the result are
// kept: P12 -> 1612, P001 -> 1600.
std::string ConvertAlphabeticToNumber(std::string_view name);

// What R5PointLine had to change to fit the R5 columns.
struct R5Cuts {
    bool name = false, code = false;
    bool rounded = false;  // a coordinate lost decimals (FitR5Value)
    // The coordinate ('X', 'Y' or 'Z') that does not fit its 11 columns even
    // rounded to millimetres; then no line is made.
    char unfit = 0;
};

// The R5 coordinate line of a point at `address`: name cut to 4 characters
// (after the alphabetic conversion when it is on), code cut to 3, each
// coordinate fitted to its 11 columns. Empty when a coordinate cannot fit.
std::optional<std::string> R5PointLine(long address, const PointRecord& p,
                                       bool convertAlphabetic, R5Cuts* cuts = nullptr);

// The DXF Z: the number at the start of the text (leading white space
// skipped) formatted as "%f" does; 0.000000 when there is none, and then
// `isNumber` becomes false.
std::string DxfZ(std::string_view text, bool& isNumber);

// Shows the reader's refusal as an error; true when it refused the file.
bool RefusedAsPointList(CommandContext& ctx, const PointListReader& reader);

// Ends an export after its last record: shows the layout read as an
// information line, the reader's warnings and those of the export's own
// `issues`, then accounts for every line. False, when the export must write
// nothing: reading strictly and a line was not understood, or no point was
// written (an error each). Otherwise the summary note of the `points` written.
bool EndPointExport(CommandContext& ctx, PointListReader& reader, std::size_t points,
                    std::initializer_list<const LineIssue*> issues = {});

// A point list reader of the workspace lines `in`, in the layout the options
// ask for, naming the document in its messages.
PointListReader ReaderOf(CommandContext& ctx, const Workspace& in);

}  // namespace tarvosen::points
