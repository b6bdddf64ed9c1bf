// Routes and loops: chains of observations through points that join exactly
// two of them. A chain through a junction is left to the adjustment.

#include <cmath>
#include <unordered_map>

#include "levelling/network/network_parts.h"

namespace tarvosen::levelling {

namespace {

class ChainWalker {
  public:
    ChainWalker(const std::vector<NetworkObservation>& observations,
                const std::map<std::string, double>& fixed, const ToleranceProfile& profile)
        : observations_(observations), fixed_(fixed), profile_(profile),
          used_(observations.size(), false) {
        // A section from a point back to itself meets it twice.
        for (std::size_t i = 0; i < observations.size(); ++i) {
            incident_[observations[i].from].push_back(i);
            incident_[observations[i].to].push_back(i);
        }
    }

    // Every chain that starts at a known point, then every loop of points
    // that join two observations each.
    std::vector<Misclosure> all(const std::vector<std::string>& pointOrder) {
        std::vector<Misclosure> found;
        for (const std::string& p : pointOrder) {
            if (!fixed_.contains(p)) continue;
            for (std::size_t e : incident_[p])
                if (!used_[e])
                    if (auto m = walk(p, e)) found.push_back(std::move(*m));
        }
        for (std::size_t e = 0; e < observations_.size(); ++e) {
            const std::string& p = observations_[e].from;
            if (!used_[e] && !fixed_.contains(p) && incident_[p].size() == 2)
                if (auto m = walk(p, e)) found.push_back(std::move(*m));
        }
        return found;
    }

  private:
    bool passable(const std::string& p) const {
        return !fixed_.contains(p) && incident_.at(p).size() == 2;
    }

    // Follows the chain from `start` along observation e until it reaches a
    // known point, its start, or a point it cannot pass.
    std::optional<Misclosure> walk(const std::string& start, std::size_t e) {
        Misclosure m;
        m.points.push_back(start);
        double sum = 0;
        std::string at = start;
        for (;;) {
            used_[e] = true;
            const NetworkObservation& o = observations_[e];
            const bool along = o.from == at;
            sum += along ? o.heightDifference : -o.heightDifference;
            m.lengthKm += o.lengthKm;
            m.observations.push_back(e);
            at = along ? o.to : o.from;
            m.points.push_back(at);
            if (at == start || fixed_.contains(at)) break;
            if (!passable(at)) return std::nullopt;
            const auto& pair = incident_.at(at);
            e = pair[0] == e ? pair[1] : pair[0];
        }
        m.loop = at == start;
        if (!m.loop && !fixed_.contains(start)) return std::nullopt;
        const double expected = m.loop ? 0 : fixed_.at(at) - fixed_.at(start);
        m.wMm = (sum - expected) * 1000;
        m.limitMm = (m.loop ? profile_.kLoop : profile_.kRoute) * std::sqrt(m.lengthKm);
        m.ok = std::abs(m.wMm) <= m.limitMm;
        return m;
    }

    const std::vector<NetworkObservation>& observations_;
    const std::map<std::string, double>& fixed_;
    const ToleranceProfile& profile_;
    std::vector<bool> used_;
    std::unordered_map<std::string, std::vector<std::size_t>> incident_;
};

}  // namespace

std::vector<Misclosure> FindMisclosures(const std::vector<NetworkObservation>& observations,
                                        const std::vector<std::string>& pointOrder,
                                        const std::map<std::string, double>& fixed,
                                        const ToleranceProfile& profile) {
    return ChainWalker(observations, fixed, profile).all(pointOrder);
}

}  // namespace tarvosen::levelling
