#pragma once
// Rewriting Zeiss record files from one layout into another, line by line,
// keeping addresses and measurement fields: R5 -> M5, M5 -> R5 (angles in gon
// become degrees-minutes-seconds) and REC500 -> M5.

#include <filesystem>
#include <optional>
#include <string>

#include "app/command_context.h"
#include "app/line_account.h"
#include "zeiss/m5_line.h"
#include "zeiss/r5_line.h"
#include "zeiss/rec500_jobs.h"

namespace tarvosen::zeiss {

// Line-length limits of the readers.
inline constexpr std::size_t kR5M5ReadLimit = 149;
inline constexpr std::size_t kRec500ReadLimit = 199;

// One R5 line as M5: TR -> TI, KR -> PI1; other kinds give no line.
std::optional<std::string> ConvertR5LineToM5(const R5Line& line);

// One M5 line as R5: TI -> TR, PI* -> KR (fields in "gon " become "DMS ");
// other kinds (KD1, TO, ...) give no line. A value whose digits would not fit
// the 11 columns of an R5 field throws ConversionError instead of losing them.
// The point number and code are read from the whole information block
// (ReadM5PointIdentification); R5 keeps the last three characters of the code
// and the last four of a longer number, which sets *numberCut. A text record
// keeps its text (M5TextForR5), cut to 7 characters, which sets *textCut.
std::optional<std::string> ConvertM5LineToR5(const M5Line& line, bool* numberCut = nullptr,
                                             bool* textCut = nullptr);

// One REC500 line as M5: of a levelling job a KD1 (measurement) or TO (text)
// line, of a coordinate job a PI1 (point) or TI (text) line. A line that is
// not a REC500 record is refused naming `file` and its line.
std::string ConvertRec500LineToM5(const FixedColumns& line,
                                  Rec500Job job = Rec500Job::Levelling,
                                  const std::string& file = {});

// An angle in gon as the compact text "%3d.%02d%02d" of degrees, minutes and
// whole seconds, reduced to one turn (399.99999 gon gives "360.0000").
std::string GonToDmsText(double gon);

// The readers of the conversions: read `in`, append the converted lines to
// `out`, count every line in `account` and the records written in
// `written`. False when the file was refused (the message has been shown):
// not of the expected kind, a unit or a job they do not read, M5 levelling
// data for R5.
bool ReadR5AsM5(CommandContext& ctx, const Workspace& in, Workspace& out, LineAccount& account,
                std::size_t& written);
bool ReadM5AsR5(CommandContext& ctx, const Workspace& in, Workspace& out, LineAccount& account,
                std::size_t& written);
bool ReadRec500AsM5(CommandContext& ctx, const Workspace& in, Workspace& out,
                    LineAccount& account, std::size_t& written);

// The ConvertInPlace bodies: the readers above, then the warning (or,
// reading strictly, the refusal) of the lines not understood and the refusal
// of a run that wrote nothing; only then the converted lines go to the
// workspace and the summary is shown. False when they stopped.
bool AppendR5AsM5(CommandContext& ctx, const Workspace& in);
bool AppendM5AsR5(CommandContext& ctx, const Workspace& in);
bool AppendRec500AsM5(CommandContext& ctx, const Workspace& in);

}  // namespace tarvosen::zeiss
