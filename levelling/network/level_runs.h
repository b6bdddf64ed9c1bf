#pragma once
// The levelling runs of DINI M5 data: every levelling line read as the record
// books read it, cut into stations. A station's height difference is the mean
// of its back readings minus the mean of its fore readings (a staff read once
// gives that reading), its length the mean back distance plus the mean fore
// distance. Each station is checked against the station limits of the
// tolerance profile as the high-order record book checks it.

#include <cstddef>
#include <string>
#include <vector>

#include "levelling/levelling_model.h"
#include "levelling/network/tolerance_profile.h"

namespace tarvosen::levelling {

// An exceeded limit and where it comes from.
struct LimitViolation {
    std::string what;
    std::string file;
    std::size_t line = 0;
};

struct LevelStation {
    double heightDifference = 0;  // m
    double length = 0;            // m
    std::size_t violations = 0;   // station limits exceeded
};

// A run: the stations between consecutive point heights of one levelling
// line; points[i] and points[i + 1] are the ends of stations[i].
struct LevelRun {
    std::string file;
    std::string lineName;
    std::vector<std::string> points;        // UTF-8
    std::vector<std::size_t> pointLines;    // the point height line of each point
    std::vector<LevelStation> stations;
};

struct RunsOfFile {
    ReadOutcome outcome = ReadOutcome::Read;
    std::vector<LevelRun> runs;
    std::vector<LimitViolation> stationViolations;
};

// Reads the runs of one file's lines; `file` names it in the runs and
// messages, and its lines are counted in `account`. Messages about lines the
// runs cannot use go to ctx.user.
RunsOfFile ReadLevelRuns(CommandContext& ctx, const Workspace& lines, const std::string& file,
                         const ToleranceProfile& profile, LineAccount& account);

}  // namespace tarvosen::levelling
