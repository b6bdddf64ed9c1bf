#include <cmath>

#include "levelling/network/network_results.h"

namespace tarvosen::levelling {

std::vector<LimitViolation> CollectViolations(const LevelNetwork& network,
                                              const ToleranceProfile& profile,
                                              const std::vector<LimitViolation>& stationViolations) {
    std::vector<LimitViolation> all = stationViolations;
    for (const auto& o : network.observations) {
        if (o.ok) continue;
        const LevelSection& s = network.sections[*o.back];
        all.push_back({"往返测高差不符值超限 " + o.from + "-" + o.to, s.file, s.firstLine});
    }
    for (const auto& m : network.misclosures) {
        if (m.ok) continue;
        const LevelSection& s = network.sections[network.observations[m.observations[0]].forward];
        all.push_back({std::string(m.loop ? "环闭合差超限 " : "附合路线闭合差超限 ") +
                           m.points.front() + "-" + m.points.back(),
                       s.file, s.firstLine});
    }
    if (network.mDeltaMm && *network.mDeltaMm > profile.mDeltaLimitMm)
        all.push_back({"每千米偶然中误差 M_Δ 超限", "", 0});
    if (network.mWMm && *network.mWMm > profile.mWLimitMm)
        all.push_back({"每千米全中误差 M_W 超限", "", 0});
    return all;
}

}  // namespace tarvosen::levelling
