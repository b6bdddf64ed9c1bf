#pragma once
// What the Zeiss readers share in accounting for their lines: the kinds of
// line they pass over, the R5 lines off their columns, the units they read
// numbers in, and failures that name the file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_context.h"
#include "app/errors.h"
#include "app/line_account.h"
#include "i18n/line_ranges.h"
#include "zeiss/r5_line.h"

namespace tarvosen::zeiss {

inline constexpr PassedOverKind kFromEndOn{msg::kFromEndOnKind, "END and the lines after it"};
inline constexpr PassedOverKind kTextRecords{msg::kTextRecordsKind, "text records"};
inline constexpr PassedOverKind kStationSettings{msg::kStationSettingsKind,
                                                 "station and height records"};
inline constexpr PassedOverKind kDirectionsOnly{msg::kDirectionsOnlyKind,
                                                "directions without a distance"};
inline constexpr PassedOverKind kNotComputed{msg::kNotComputedKind,
                                             "observations not computed with Mem/2 or Mem/3"};
inline constexpr PassedOverKind kBeforeStation{msg::kBeforeStationKind,
                                               "observations before any station"};
inline constexpr PassedOverKind kReplacedObservations{
    msg::kReplacedObservationsKind, "observations the instrument's own coordinates replace"};
inline constexpr PassedOverKind kUnappliedOffsets{msg::kUnappliedOffsetsKind,
                                                  "target offsets not applied"};
inline constexpr PassedOverKind kLevellingRecords{msg::kLevellingRecordsKind, "levelling records"};

// Counts the END line at `line` and every line after it in `lines` as
// passed over.
void PassOverFromEnd(LineAccount& account, std::size_t line, std::size_t lines);

// R5 lines whose "|" are off their columns: counted as not understood and
// named in one warning of their own.
class R5LayoutLines {
  public:
    // True when `line` has the R5 layout; otherwise it is counted and must
    // not be read.
    bool readable(const R5Line& line, LineAccount& account);
    void report(CommandContext& ctx) const;

  private:
    LineRanges offLayout_;
};

// A warning naming the file and `lines`: the catalogue text `id` (one line)
// or `id` + 10 (several), %1 the file, %2 the lines.
void WarnLines(CommandContext& ctx, const LineRanges& lines, int id, const char* one,
               const char* many);

// Units the readers read numbers in: lengths in metres, angles in gon (also
// written "grd"), packed degrees-minutes-seconds or decimal degrees.
bool IsMetres(std::string_view unit);
bool IsReadableAngleUnit(std::string_view unit);

// The refusal of a value whose unit the reader does not read: %1 the file,
// %2 the line, %3 the field type, %4 the unit.
std::string UnknownUnitText(CommandContext& ctx, std::size_t line, std::string_view type,
                            std::string_view unit);

// Runs `body`; a number that cannot be read fails naming the file as well.
template <typename Body>
auto NamingTheFile(CommandContext& ctx, Body&& body) {
    try {
        return body();
    } catch (const ConversionError& e) {
        throw ConversionError({msg::kInFile, "%1: %2", {DocumentFileName(ctx), e.text(TextsOf(ctx))}});
    }
}

}  // namespace tarvosen::zeiss
