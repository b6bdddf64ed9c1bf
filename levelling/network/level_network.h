#pragma once
// A levelling network from its runs: sections between benchmarks, forward and
// return pairs, the misclosures of routes and loops, the accuracy per
// kilometre, and the heights adjusted by weighted least squares.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "levelling/network/level_runs.h"
#include "levelling/network/tolerance_profile.h"

namespace tarvosen::levelling {

// A piece of a run between two points where sections end.
struct LevelSection {
    std::string from, to;
    double lengthKm = 0;
    int stations = 0;
    double heightDifference = 0;  // m
    std::string file;
    std::string lineName;
    std::size_t firstLine = 0, lastLine = 0;  // the point height lines of its ends
    std::size_t stationViolations = 0;
};

// One observation of the adjustment: a section measured forward and return
// (the pair) or once.
struct NetworkObservation {
    std::size_t forward = 0;              // index into the sections
    std::optional<std::size_t> back;      // the return section of a pair
    std::string from, to;                 // the forward section's direction
    double lengthKm = 0;                  // mean of the two lengths
    double stations = 0;                  // mean of the two station counts
    double heightDifference = 0;          // (h_forward - h_return) / 2, m
    std::optional<double> discrepancyMm;  // (h_forward + h_return) * 1000
    std::optional<double> limitMm;        // k_fb * sqrt(K)
    bool ok = true;
    double residualMm = 0;                // adjusted minus observed
    double redundancy = 0;                // its share of the degrees of freedom, 0 to 1
    // The residual over its standard deviation from the a-priori unit-weight
    // error; none where no other observation checks this one.
    std::optional<double> standardisedResidual;
    bool residualOk = true;
};

// A condition of the observations: a route from one known benchmark to
// another, or a loop back to its first point.
struct Misclosure {
    std::vector<std::string> points;
    std::vector<std::size_t> observations;
    double lengthKm = 0;
    double wMm = 0;
    double limitMm = 0;
    bool loop = false;
    bool ok = true;
};

struct AdjustedPoint {
    std::string name;
    double height = 0;
    std::optional<double> sigmaMm;  // none when the network has no redundancy
    bool known = false;
};

enum class Weighting { Distance, Stations };

struct NetworkInput {
    std::vector<LevelRun> runs;                  // in input order
    std::vector<std::pair<std::string, double>> knownHeights;
    std::set<std::string> benchmarks;            // further points where sections end
    ToleranceProfile profile;
    Weighting weighting = Weighting::Distance;
    double confidence = 0.95;  // of the tests of the adjustment
};

// The tests of the adjustment. The a-priori unit-weight error is the
// profile's limit of M_W, per km with 1/K weights, per station of the
// network's mean length with 1/n weights.
struct AdjustmentTest {
    double confidence = 0.95;
    double aprioriMm = 0;
    // sigma0 passes the chi-square test of [pvv] up to this value.
    std::optional<double> sigma0LimitMm;
    bool sigma0Ok = true;
    double residualLimit = 0;  // the largest |standardised residual| that passes
};

struct LevelNetwork {
    std::vector<LevelSection> sections;
    std::vector<NetworkObservation> observations;
    std::optional<double> mDeltaMm;
    std::vector<Misclosure> misclosures;
    std::optional<double> mWMm;
    std::vector<AdjustedPoint> points;
    // With no known height, the first point of each part of the network that
    // does not join the others (in the order of the runs), held at 0.
    std::vector<std::string> heldPoints;
    bool isHeld(const std::string& point) const;
    std::optional<double> sigma0Mm;        // none without degrees of freedom
    int degreesOfFreedom = 0;
    AdjustmentTest test;
};

// Throws Failure naming the points no known height reaches.
LevelNetwork BuildLevelNetwork(const NetworkInput& input);

// The sections of the runs: cut at each run's ends and at every endpoint.
std::vector<LevelSection> CutSections(const std::vector<LevelRun>& runs,
                                      const std::set<std::string>& endpoints);

// Pairs sections between the same two points in opposite directions, in
// input order, each section at most once; the rest stand alone.
std::vector<NetworkObservation> PairSections(const std::vector<LevelSection>& sections,
                                             const ToleranceProfile& profile);

}  // namespace tarvosen::levelling
