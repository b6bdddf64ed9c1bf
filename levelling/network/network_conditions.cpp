// The conditions that check every observation of a levelling network: one
// loop per independent cycle (observations - points + parts of them) and one
// route between each two consecutive known points of a part.
//
// The loops come from a shortest-path spanning tree of each part: every
// observation outside it closes one loop, along the shortest way back through
// the tree and the observations taken before it. Each loop so holds an
// observation no earlier loop holds, so the loops are independent, and there
// are as many as the network has cycles. A route joins its two known points
// by their shortest way; each holds a pair of known points no other route
// holds, so the routes are independent of each other and of the loops.

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <unordered_map>

#include "levelling/network/network_parts.h"

namespace tarvosen::levelling {

namespace {

class ConditionFinder {
  public:
    ConditionFinder(const std::vector<NetworkObservation>& observations,
                    const std::vector<std::string>& pointOrder,
                    const std::map<std::string, double>& fixed, const ToleranceProfile& profile)
        : observations_(observations), pointOrder_(pointOrder), fixed_(fixed), profile_(profile),
          adjacent_(pointOrder.size()), distance_(pointOrder.size(), kFar),
          via_(pointOrder.size(), kNone), usable_(observations.size(), false) {
        for (std::size_t i = 0; i < pointOrder.size(); ++i) index_[pointOrder[i]] = i;
        for (std::size_t e = 0; e < observations.size(); ++e) {
            const std::size_t a = index_.at(observations[e].from), b = index_.at(observations[e].to);
            adjacent_[a].push_back(e);
            if (b != a) adjacent_[b].push_back(e);
        }
    }

    std::vector<Misclosure> all() {
        std::vector<Misclosure> found;
        // The spanning trees, one per part, from the part's first point.
        std::vector<bool> inTree(observations_.size(), false);
        std::vector<std::size_t> part(pointOrder_.size(), kNone);
        std::vector<std::vector<std::size_t>> knownOfPart;
        for (std::size_t root = 0; root < pointOrder_.size(); ++root) {
            if (part[root] != kNone) continue;
            const std::size_t number = knownOfPart.size();
            knownOfPart.emplace_back();
            for (std::size_t p : search(root, kNone, true)) {
                part[p] = number;
                if (via_[p] != kNone) inTree[via_[p]] = true;
            }
            reset();
        }
        for (std::size_t p = 0; p < pointOrder_.size(); ++p)
            if (fixed_.contains(pointOrder_[p])) knownOfPart[part[p]].push_back(p);

        for (std::size_t e = 0; e < observations_.size(); ++e) usable_[e] = inTree[e];
        for (std::size_t e = 0; e < observations_.size(); ++e) {
            if (inTree[e]) continue;
            // Along e from its start, then back the shortest usable way.
            const std::size_t from = index_.at(observations_[e].from);
            const std::size_t to = index_.at(observations_[e].to);
            std::vector<std::size_t> way{e};
            if (to != from) {
                const auto back = path(to, from);
                way.insert(way.end(), back.begin(), back.end());
            }
            found.push_back(condition(from, way, true));
            usable_[e] = true;
        }
        // The routes first, as the runs meet their known points.
        std::vector<Misclosure> routes;
        for (const auto& known : knownOfPart)
            for (std::size_t k = 1; k < known.size(); ++k)
                routes.push_back(condition(known[k - 1], path(known[k - 1], known[k]), false));
        found.insert(found.begin(), routes.begin(), routes.end());
        return found;
    }

  private:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    static constexpr double kFar = std::numeric_limits<double>::infinity();

    // Dijkstra from `start` by length, over every observation when `all`,
    // else over the usable ones, until `target` is settled (kNone: every
    // point it reaches).
    // Returns the points reached; their distance_ and via_ stay until reset().
    std::vector<std::size_t> search(std::size_t start, std::size_t target, bool all) {
        using Entry = std::pair<double, std::size_t>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
        distance_[start] = 0;
        reached_.push_back(start);
        queue.push({0, start});
        while (!queue.empty()) {
            const auto [d, p] = queue.top();
            queue.pop();
            if (d > distance_[p]) continue;
            if (p == target) break;
            for (std::size_t e : adjacent_[p]) {
                if (!all && !usable_[e]) continue;
                const NetworkObservation& o = observations_[e];
                const std::size_t q = index_.at(o.from) == p ? index_.at(o.to) : index_.at(o.from);
                const double through = d + o.lengthKm;
                if (through < distance_[q]) {
                    if (distance_[q] == kFar) reached_.push_back(q);
                    distance_[q] = through;
                    via_[q] = e;
                    queue.push({through, q});
                }
            }
        }
        return reached_;
    }

    void reset() {
        for (std::size_t p : reached_) {
            distance_[p] = kFar;
            via_[p] = kNone;
        }
        reached_.clear();
    }

    // The observations of the shortest usable way from `start` to `target`,
    // in order.
    std::vector<std::size_t> path(std::size_t start, std::size_t target) {
        search(start, target, false);
        std::vector<std::size_t> way;
        for (std::size_t p = target; p != start;) {
            const std::size_t e = via_[p];
            way.insert(way.begin(), e);
            const NetworkObservation& o = observations_[e];
            p = index_.at(o.from) == p ? index_.at(o.to) : index_.at(o.from);
        }
        reset();
        return way;
    }

    Misclosure condition(std::size_t start, const std::vector<std::size_t>& way, bool loop) {
        Misclosure m;
        m.loop = loop;
        m.points.push_back(pointOrder_[start]);
        double sum = 0;
        for (std::size_t e : way) {
            const NetworkObservation& o = observations_[e];
            const bool along = o.from == m.points.back();
            sum += along ? o.heightDifference : -o.heightDifference;
            m.lengthKm += o.lengthKm;
            m.observations.push_back(e);
            m.points.push_back(along ? o.to : o.from);
        }
        const double expected =
            loop ? 0 : fixed_.at(m.points.back()) - fixed_.at(m.points.front());
        m.wMm = (sum - expected) * 1000;
        if (loop) {
            // A loop starts at its point the runs meet first.
            std::size_t first = 0;
            for (std::size_t k = 1; k + 1 < m.points.size(); ++k)
                if (index_.at(m.points[k]) < index_.at(m.points[first])) first = k;
            m.points.pop_back();
            std::rotate(m.points.begin(), m.points.begin() + first, m.points.end());
            m.points.push_back(m.points.front());
            std::rotate(m.observations.begin(), m.observations.begin() + first, m.observations.end());
        }
        m.limitMm = (loop ? profile_.kLoop : profile_.kRoute) * std::sqrt(m.lengthKm);
        m.ok = std::abs(m.wMm) <= m.limitMm;
        return m;
    }

    const std::vector<NetworkObservation>& observations_;
    const std::vector<std::string>& pointOrder_;
    const std::map<std::string, double>& fixed_;
    const ToleranceProfile& profile_;
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<std::vector<std::size_t>> adjacent_;  // observations at each point
    std::vector<double> distance_;
    std::vector<std::size_t> via_;  // the observation a point was reached by
    std::vector<std::size_t> reached_;
    std::vector<bool> usable_;
};

}  // namespace

std::vector<Misclosure> FindMisclosures(const std::vector<NetworkObservation>& observations,
                                        const std::vector<std::string>& pointOrder,
                                        const std::map<std::string, double>& fixed,
                                        const ToleranceProfile& profile) {
    return ConditionFinder(observations, pointOrder, fixed, profile).all();
}

}  // namespace tarvosen::levelling
