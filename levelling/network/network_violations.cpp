#include <cmath>
#include <cstdio>

#include "levelling/network/network_results.h"

namespace tarvosen::levelling {

namespace {

std::string Fixed(double v, int decimals = 2) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    return buffer;
}

// " (W 12.23 mm, 限差 2.53 mm)"
std::string Against(const char* what, double value, double limit) {
    return std::string(" (") + what + " " + Fixed(value) + " mm, 限差 " + Fixed(limit) + " mm)";
}

}  // namespace

std::vector<LimitViolation> CollectViolations(const LevelNetwork& network,
                                              const ToleranceProfile& profile,
                                              const std::vector<LimitViolation>& stationViolations) {
    std::vector<LimitViolation> all = stationViolations;
    for (const auto& o : network.observations) {
        if (o.ok) continue;
        const LevelSection& s = network.sections[*o.back];
        all.push_back({"往返测高差不符值超限 " + o.from + "-" + o.to +
                           Against("Δ", *o.discrepancyMm, *o.limitMm),
                       s.file, s.firstLine});
    }
    for (const auto& m : network.misclosures) {
        if (m.ok) continue;
        const LevelSection& s = network.sections[network.observations[m.observations[0]].forward];
        all.push_back({std::string(m.loop ? "环闭合差超限 " : "附合路线闭合差超限 ") +
                           m.points.front() + "-" + m.points.back() +
                           Against("W", m.wMm, m.limitMm),
                       s.file, s.firstLine});
    }
    if (network.mDeltaMm && *network.mDeltaMm > profile.mDeltaLimitMm)
        all.push_back({"每千米偶然中误差 M_Δ 超限", "", 0});
    if (network.mWMm && *network.mWMm > profile.mWLimitMm)
        all.push_back({"每千米全中误差 M_W 超限", "", 0});

    const AdjustmentTest& test = network.test;
    const std::string confidence = Fixed(test.confidence * 100, 1) + "%";
    if (!test.sigma0Ok)
        all.push_back({"单位权中误差检验未通过: σ0 " + Fixed(*network.sigma0Mm) + " mm 大于 " +
                           Fixed(*test.sigma0LimitMm) + " mm (先验 " + Fixed(test.aprioriMm) +
                           " mm, χ² 检验, 置信度 " + confidence + ")",
                       "", 0});
    for (const auto& o : network.observations) {
        if (o.residualOk) continue;
        const LevelSection& s = network.sections[o.forward];
        all.push_back({"标准化改正数超限 " + o.from + "-" + o.to + " (v " + Fixed(o.residualMm) +
                           " mm, w " + Fixed(*o.standardisedResidual) + ", 限值 " +
                           Fixed(test.residualLimit) + ", 置信度 " + confidence + ")",
                       s.file, s.firstLine});
    }
    return all;
}

}  // namespace tarvosen::levelling
