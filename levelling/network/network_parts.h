#pragma once
// The steps of BuildLevelNetwork that work on the graph of observations.

#include <map>
#include <string>
#include <vector>

#include "levelling/network/level_network.h"

namespace tarvosen::levelling {

// For each point of pointOrder, the part of the network it belongs to: points
// joined by observations have the same part number.
std::vector<std::size_t> PartsOf(const std::vector<NetworkObservation>& observations,
                                 const std::vector<std::string>& pointOrder);

// One loop per independent cycle and one route between each two consecutive
// known points (in pointOrder) of each part. `fixed` holds the known heights.
std::vector<Misclosure> FindMisclosures(const std::vector<NetworkObservation>& observations,
                                        const std::vector<std::string>& pointOrder,
                                        const std::map<std::string, double>& fixed,
                                        const ToleranceProfile& profile);

// Adjusts the heights of the points not in `fixed` and fills the network's
// points, residuals, redundancies, sigma0 and degrees of freedom, and the
// standardised residuals from the a-priori unit-weight error `aprioriMm`.
void AdjustHeights(LevelNetwork& network, const std::vector<std::string>& pointOrder,
                   const std::map<std::string, double>& fixed, Weighting weighting,
                   double aprioriMm);

}  // namespace tarvosen::levelling
