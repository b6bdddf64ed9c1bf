#pragma once
// One point per polar measurement. A total station such as the Trimble M3
// records an observation (SD, Hz, V1) and right after it its own coordinates
// of the point under the same code and number; where it did, those
// coordinates are the point and the observation adds none. Otherwise the
// point is computed from the station, with the offsets of an eccentric
// target that the instrument records just before the observation:
//   Tv  the point lies that much farther along the line of sight;
//   Tl  the point lies that much to the right of the line of sight;
//   Tr  the point lies that much to the left of it
// (as seen from the station, horizontal; heights are not changed). The
// Trimble M3 job of the corpus computes every one of its 36 offset points so.

#include <optional>
#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/line_account.h"
#include "zeiss/r5_line.h"
#include "zeiss/r5_points.h"

namespace tarvosen::zeiss {

// True for the field types of a target offset record (field 1).
bool IsTargetOffset(std::string_view type);

class ObservedPoints {
  public:
    // Each observation and offset line is counted in `account` once its use
    // is known: used when it gave a point, passed over otherwise.
    ObservedPoints(CommandContext& ctx, PointListWriter& writer, LineAccount& account)
        : ctx_(ctx), writer_(writer), account_(account) {}

    // Called for every R5 record before its own points are written: writes
    // the point computed from the record before unless this record holds the
    // instrument's coordinates of it (`holdsCoordinates`), and warns about
    // offsets that this record leaves without their observation.
    void beforeRecord(const R5Line& line, bool holdsCoordinates);
    // A record whose field 1 is a target offset.
    void offset(const R5Line& line);
    // A polar observation (field 2 "Hz"), computed when `compute` is on and
    // the station is set. One without a distance (a direction to the
    // orientation point) places no point.
    void observation(const R5Line& line, const StationState& station, bool compute);
    // At the end of the data: writes what is still held and reports.
    void finish();

  private:
    struct Offset {
        std::string type, text;  // as recorded
        double metres = 0;
        std::size_t line = 0;
    };
    struct Computed {
        PointXYZ point;
        std::string code, number;
        std::size_t line = 0;
    };

    // Warns about the offsets held, which are then dropped.
    void warnUnapplied();
    void warn(const Offset& offset);
    // Drops the offsets held, counted as passed over as `kind`.
    void dropOffsets(PassedOverKind kind);

    CommandContext& ctx_;
    PointListWriter& writer_;
    LineAccount& account_;
    // The offsets recorded for the point `offsetCode`/`offsetNumber`.
    std::vector<Offset> offsets_;
    std::string offsetCode_, offsetNumber_;
    // The point computed from the last observation, written unless the
    // instrument's coordinates of it follow.
    std::optional<Computed> held_;
    std::vector<std::string> withoutDistance_;  // line numbers
};

}  // namespace tarvosen::zeiss
