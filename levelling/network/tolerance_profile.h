#pragma once
// Tolerance profiles of levelling: the five station limits of the high-order
// record book and the limits of sections, routes, loops and of the accuracy
// per kilometre. The built-in profiles are kept in the data file
// level-profiles.json; a profile file holds one profile with the same keys.

#include <string>
#include <string_view>

namespace tarvosen::levelling {

inline constexpr const char* kProfilesDataFile = "level-profiles.json";
inline constexpr const char* kDefaultProfile = "gb12897-2";

struct ToleranceProfile {
    std::string name;
    double sightLengthM = 0;          // longest sight
    double sightDifferenceM = 0;      // back distance minus fore distance
    double accumulatedDifferenceM = 0;
    double readingDifferenceMm = 0;   // two readings of one staff
    double heightDifferenceMm = 0;    // the two height differences of a station
    double kFb = 0;                   // forward/return discrepancy: kFb * sqrt(K) mm
    double kRoute = 0;                // route misclosure: kRoute * sqrt(L) mm
    double kLoop = 0;                 // loop misclosure: kLoop * sqrt(F) mm
    double mDeltaLimitMm = 0;
    double mWLimitMm = 0;
};

// A built-in profile by name, or else the profile file at that path. Throws
// UsageError for a name that is neither, Failure for a file that is not a
// profile (naming the file and the key).
ToleranceProfile ResolveToleranceProfile(std::string_view nameOrFile);

// The profile in a JSON text; `origin` names it in messages.
ToleranceProfile ParseToleranceProfile(std::string_view json, const std::string& origin);

}  // namespace tarvosen::levelling
