#pragma once
// The points of a Leica total station's GSI job. A block with 81/82 (east,
// north) and 83 (height) gives its coordinates as they stand; one without
// them is computed from the last station (84 east, 85 north, 86 height, 88
// instrument height) and its observation: 21 horizontal direction (used as
// the azimuth), 22 zenith angle and 31 slope distance, or 32 horizontal
// distance and 33 height difference, and 87 target height (kept until the
// next one). A station block gives the station as a point too. Angles and
// lengths are read in the units their words name.

#include <cstddef>
#include <string>
#include <vector>

#include "app/command_context.h"
#include "app/line_account.h"

namespace tarvosen::leica {

struct GsiJobPoint {
    std::size_t line = 0;
    std::string name;
    double east = 0, north = 0, height = 0;
};

// A set-up or an observation, for the observation exports (angles in radians,
// lengths in metres). `hasX` tells what the block held.
struct GsiJobObservation {
    bool station = false;  // a set-up; else an observation from the last one
    std::size_t line = 0;
    std::string name;
    double instrumentHeight = 0, targetHeight = 0;
    bool hasDirection = false, hasZenith = false, hasSlope = false;
    double direction = 0, zenith = 0, slope = 0;
};

struct GsiJob {
    bool keepObservations = true;  // false: only the points are wanted
    std::vector<GsiJobPoint> points;
    std::vector<GsiJobObservation> observations;
};

bool IsGsiJob(const Workspace& lines);

// Reads the job, counting every line in `account` (begun by the caller).
// False after an error shown to the user (an unknown unit code, a word
// without a value); nothing is then to be written.
bool ReadGsiJob(CommandContext& ctx, const Workspace& lines, const std::string& file,
                LineAccount& account, GsiJob& job);

}  // namespace tarvosen::leica
