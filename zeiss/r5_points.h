#pragma once
// R5 record files to point lists "Pn, X, Y, Z, [C]" and DXF point drawings.
// Known coordinates are taken as they stand; with the record format Mem/1 the
// polar observations are computed from the current station.

#include <string>
#include <string_view>

#include "app/command_context.h"
#include "app/line_account.h"
#include "app/options_store.h"
#include "app/outcome.h"
#include "app/workspace.h"
#include "zeiss/r5_options.h"

namespace tarvosen::zeiss {

inline constexpr std::size_t kR5PointReadLimit = 99;

// The station of one conversion: reset at its start, overwritten by every
// later station record; heights keep their last values.
struct StationState {
    double x = 0, y = 0, z = 0;
    double instrumentHeight = 0, targetHeight = 0;
    bool stationSet = false;
};

// A polar observation: horizontal direction and zenith angle as their R5
// value texts with their units, slope distance in metres, and the horizontal
// offsets of an eccentric target in metres: along the line of sight (away
// from the station) and across it (to the right, seen from the station).
struct PolarObservation {
    std::string horizontalDirection, directionUnit;
    std::string zenithAngle, zenithUnit;
    double slopeDistance = 0;
    double alongOffset = 0, acrossOffset = 0;
};

struct PointXYZ {
    double x = 0, y = 0, z = 0;
};

// The observed point: the direction is used as the azimuth (no orientation
// correction), the offsets move it horizontally; heights are station Z +
// instrument height - target height.
PointXYZ ComputePolarPoint(const StationState& station, const PolarObservation& observation);

// Appends point list lines "name,X,Y,Z,code" ("%.3f" numbers) or, without
// the code, "name,%10.3f,%10.3f,%10.3f," and counts them.
class PointListWriter {
  public:
    PointListWriter(Workspace& out, const R5Options& options, int& pointCounter)
        : out_(out), options_(options), pointCounter_(pointCounter) {}

    // WritePointLine: the name is the R5 point number, or the running point
    // number ("0" for the first point) when points are renamed.
    void writePointLine(double x, double y, double z, std::string_view code,
                        std::string_view pointNumber);

  private:
    Workspace& out_;
    const R5Options& options_;
    int& pointCounter_;
    std::string line_;
};

// Reads the R5 lines `in` up to the end or an "END" line, appends the point
// list to `out` and counts every line in `account`. Refused, with the
// message shown, when a line is not R5 or a value the points depend on has a
// unit (or a vertical angle or scale) it does not read. Malformed numbers
// throw ConversionError naming the file and the line.
Outcome ReadR5Points(CommandContext& ctx, const Workspace& in, Workspace& out, int& pointCounter,
                     LineAccount& account);

// ReadR5Points, then the warning (or, reading strictly, the refusal) of the
// lines not understood, and the refusal of a file that gave no point.
Outcome ConvertR5ToPoints(CommandContext& ctx, const Workspace& in, Workspace& out,
                          int& pointCounter, LineAccount& account);

// "144 points written", for the summary of the run.
std::string PointsWrittenText(CommandContext& ctx, std::size_t points);

// Appends the DXF point drawing of the point list `points` to `dxf`, copying
// name, X, Y, Z and code as the texts found there.
void WriteDxfFromPoints(const Workspace& points, Workspace& dxf);

}  // namespace tarvosen::zeiss
