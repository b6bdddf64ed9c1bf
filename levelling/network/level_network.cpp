#include "levelling/network/level_network.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "app/errors.h"
#include "levelling/network/network_parts.h"
#include "levelling/network/quantiles.h"

namespace tarvosen::levelling {

std::vector<LevelSection> CutSections(const std::vector<LevelRun>& runs,
                                      const std::set<std::string>& endpoints) {
    std::vector<LevelSection> sections;
    for (const LevelRun& run : runs) {
        LevelSection section;
        auto begin = [&](std::size_t p) {
            section = LevelSection{};
            section.from = run.points[p];
            section.file = run.file;
            section.lineName = run.lineName;
            section.firstLine = run.pointLines[p];
        };
        begin(0);
        for (std::size_t s = 0; s < run.stations.size(); ++s) {
            const LevelStation& station = run.stations[s];
            section.lengthKm += station.length / 1000;
            section.heightDifference += station.heightDifference;
            section.stations += 1;
            section.stationViolations += station.violations;
            const std::size_t p = s + 1;
            if (p == run.stations.size() || endpoints.contains(run.points[p])) {
                section.to = run.points[p];
                section.lastLine = run.pointLines[p];
                sections.push_back(section);
                begin(p);
            }
        }
    }
    return sections;
}

std::vector<NetworkObservation> PairSections(const std::vector<LevelSection>& sections,
                                             const ToleranceProfile& profile) {
    // Unpaired sections by direction, earliest first; a section looks for
    // the earliest unpaired one in the opposite direction.
    std::map<std::pair<std::string, std::string>, std::vector<std::size_t>> waiting;
    std::vector<std::optional<std::size_t>> partner(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const LevelSection& s = sections[i];
        auto& opposite = waiting[{s.to, s.from}];
        if (s.from != s.to && !opposite.empty()) {
            partner[opposite.front()] = i;
            partner[i] = opposite.front();
            opposite.erase(opposite.begin());
        } else {
            waiting[{s.from, s.to}].push_back(i);
        }
    }

    std::vector<NetworkObservation> observations;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (partner[i] && *partner[i] < i) continue;  // the return of an earlier pair
        const LevelSection& f = sections[i];
        NetworkObservation o;
        o.forward = i;
        o.from = f.from;
        o.to = f.to;
        o.lengthKm = f.lengthKm;
        o.stations = f.stations;
        o.heightDifference = f.heightDifference;
        if (partner[i]) {
            const LevelSection& r = sections[*partner[i]];
            o.back = *partner[i];
            o.lengthKm = (f.lengthKm + r.lengthKm) / 2;
            o.stations = (f.stations + r.stations) / 2.0;
            o.heightDifference = (f.heightDifference - r.heightDifference) / 2;
            o.discrepancyMm = (f.heightDifference + r.heightDifference) * 1000;
            o.limitMm = profile.kFb * std::sqrt(o.lengthKm);
            o.ok = std::abs(*o.discrepancyMm) <= *o.limitMm;
        }
        observations.push_back(o);
    }
    return observations;
}

LevelNetwork BuildLevelNetwork(const NetworkInput& input) {
    LevelNetwork network;
    std::map<std::string, double> fixed(input.knownHeights.begin(), input.knownHeights.end());
    std::set<std::string> endpoints = input.benchmarks;
    for (const auto& [name, height] : input.knownHeights) endpoints.insert(name);

    network.sections = CutSections(input.runs, endpoints);
    network.observations = PairSections(network.sections, input.profile);

    double sum = 0;
    int pairs = 0;
    for (const auto& o : network.observations)
        if (o.discrepancyMm) {
            sum += *o.discrepancyMm * *o.discrepancyMm / o.lengthKm;
            ++pairs;
        }
    if (pairs > 0) network.mDeltaMm = std::sqrt(sum / (4.0 * pairs));

    // The points in the order the sections meet them.
    std::vector<std::string> order;
    std::unordered_map<std::string, bool> seen;
    for (const auto& o : network.observations)
        for (const std::string* p : {&o.from, &o.to})
            if (seen.emplace(*p, true).second) order.push_back(*p);

    // Known heights of points the network does not reach take no part.
    for (auto it = fixed.begin(); it != fixed.end();)
        it = seen.contains(it->first) ? std::next(it) : fixed.erase(it);
    if (fixed.empty() && !order.empty()) {
        // Every run starts at a section end, so each part holds a run's first point.
        const std::vector<std::size_t> part = PartsOf(network.observations, order);
        std::unordered_map<std::string, std::size_t> partOf;
        for (std::size_t i = 0; i < order.size(); ++i) partOf[order[i]] = part[i];
        std::set<std::size_t> held;
        for (const LevelRun& run : input.runs) {
            const auto it = partOf.find(run.points.front());
            if (it != partOf.end() && held.insert(it->second).second) {
                network.heldPoints.push_back(run.points.front());
                fixed[run.points.front()] = 0;
            }
        }
    }

    network.misclosures = FindMisclosures(network.observations, order,
                                          network.heldPoints.empty()
                                              ? fixed
                                              : std::map<std::string, double>{},
                                          input.profile);
    // M_W from every loop and route.
    double conditionSum = 0;
    for (const auto& m : network.misclosures) conditionSum += m.wMm * m.wMm / m.lengthKm;
    if (!network.misclosures.empty())
        network.mWMm = std::sqrt(conditionSum / static_cast<double>(network.misclosures.size()));

    AdjustmentTest& test = network.test;
    test.confidence = input.confidence;
    test.aprioriMm = input.profile.mWLimitMm;
    if (input.weighting == Weighting::Stations) {
        double km = 0, stations = 0;
        for (const auto& o : network.observations) {
            km += o.lengthKm;
            stations += o.stations;
        }
        if (stations > 0) test.aprioriMm *= std::sqrt(km / stations);
    }
    AdjustHeights(network, order, fixed, input.weighting, test.aprioriMm);
    // sigma0^2 * dof / apriori^2 is chi-square with dof degrees of freedom.
    if (network.sigma0Mm) {
        const int dof = network.degreesOfFreedom;
        test.sigma0LimitMm =
            test.aprioriMm * std::sqrt(ChiSquareQuantile(test.confidence, dof) / dof);
        test.sigma0Ok = *network.sigma0Mm <= *test.sigma0LimitMm;
    }
    test.residualLimit = NormalQuantile((1 + test.confidence) / 2);
    for (auto& o : network.observations)
        if (o.standardisedResidual)
            o.residualOk = std::abs(*o.standardisedResidual) <= test.residualLimit;
    // A point held at 0 is fixed, but its height is not known.
    for (auto& p : network.points)
        if (network.isHeld(p.name)) p.known = false;
    return network;
}

bool LevelNetwork::isHeld(const std::string& point) const {
    return std::find(heldPoints.begin(), heldPoints.end(), point) != heldPoints.end();
}

}  // namespace tarvosen::levelling
