// Weighted least squares of the observed height differences with the known
// heights fixed: the normal equations are sparse (one entry per observation
// between two new points), solved by a sparse Cholesky factorisation.

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include "app/errors.h"
#include "levelling/network/network_parts.h"

namespace tarvosen::levelling {

std::vector<std::size_t> PartsOf(const std::vector<NetworkObservation>& observations,
                                 const std::vector<std::string>& pointOrder) {
    std::unordered_map<std::string, std::size_t> index;
    for (std::size_t i = 0; i < pointOrder.size(); ++i) index[pointOrder[i]] = i;
    std::vector<std::size_t> parent(pointOrder.size());
    for (std::size_t i = 0; i < parent.size(); ++i) parent[i] = i;
    auto root = [&](std::size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    for (const auto& o : observations) parent[root(index.at(o.from))] = root(index.at(o.to));
    std::vector<std::size_t> part(pointOrder.size());
    for (std::size_t i = 0; i < part.size(); ++i) part[i] = root(i);
    return part;
}

namespace {

// The unknowns' components that no fixed height reaches.
std::vector<std::string> Unreached(const LevelNetwork& network,
                                   const std::vector<std::string>& pointOrder,
                                   const std::map<std::string, double>& fixed) {
    const std::vector<std::size_t> part = PartsOf(network.observations, pointOrder);
    std::vector<bool> reached(pointOrder.size(), false);
    for (std::size_t i = 0; i < pointOrder.size(); ++i)
        if (fixed.contains(pointOrder[i])) reached[part[i]] = true;
    std::vector<std::string> unreached;
    for (std::size_t i = 0; i < pointOrder.size(); ++i)
        if (!reached[part[i]]) unreached.push_back(pointOrder[i]);
    return unreached;
}

}  // namespace

void AdjustHeights(LevelNetwork& network, const std::vector<std::string>& pointOrder,
                   const std::map<std::string, double>& fixed, Weighting weighting,
                   double aprioriMm) {
    if (const auto unreached = Unreached(network, pointOrder, fixed); !unreached.empty()) {
        std::string names;
        for (std::size_t i = 0; i < unreached.size() && i < 20; ++i)
            names += (i ? ", " : "") + unreached[i];
        if (unreached.size() > 20) names += ", ... (" + std::to_string(unreached.size()) + ")";
        throw Failure({msg::kNoKnownHeightReaches,
                       "No known height reaches the points %1; give a known height in their "
                       "part of the network.",
                       {names}});
    }

    std::unordered_map<std::string, int> unknown;
    for (const auto& p : pointOrder)
        if (!fixed.contains(p)) unknown.emplace(p, static_cast<int>(unknown.size()));
    const int u = static_cast<int>(unknown.size());

    auto weight = [&](const NetworkObservation& o) {
        return 1.0 / (weighting == Weighting::Distance ? o.lengthKm : o.stations);
    };
    auto fixedHeight = [&](const std::string& p) {
        const auto it = fixed.find(p);
        return it == fixed.end() ? 0.0 : it->second;
    };

    // Observation: H_to - H_from = h. Fixed heights move to the right side.
    std::vector<Eigen::Triplet<double>> entries;
    Eigen::VectorXd rhs = Eigen::VectorXd::Zero(u);
    for (const auto& o : network.observations) {
        const double p = weight(o);
        const double l = o.heightDifference + fixedHeight(o.from) - fixedHeight(o.to);
        const auto a = unknown.find(o.from), b = unknown.find(o.to);
        const bool hasA = a != unknown.end(), hasB = b != unknown.end();
        if (hasA && hasB && a->second == b->second) continue;
        if (hasA) {
            entries.emplace_back(a->second, a->second, p);
            rhs[a->second] -= p * l;
        }
        if (hasB) {
            entries.emplace_back(b->second, b->second, p);
            rhs[b->second] += p * l;
        }
        if (hasA && hasB) {
            entries.emplace_back(a->second, b->second, -p);
            entries.emplace_back(b->second, a->second, -p);
        }
    }
    Eigen::SparseMatrix<double> normal(u, u);
    normal.setFromTriplets(entries.begin(), entries.end());
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> cholesky;
    Eigen::VectorXd x = Eigen::VectorXd::Zero(u);
    if (u > 0) {
        cholesky.compute(normal);
        if (cholesky.info() != Eigen::Success)
            throw Failure({msg::kNormalEquationsUnsolvable,
                           "The normal equations of the levelling network cannot be solved.", {}});
        x = cholesky.solve(rhs);
    }

    auto height = [&](const std::string& p) {
        const auto it = unknown.find(p);
        return it == unknown.end() ? fixedHeight(p) : x[it->second];
    };
    double vpv = 0;
    for (auto& o : network.observations) {
        const double v = (height(o.to) - height(o.from) - o.heightDifference) * 1000;
        o.residualMm = v;
        vpv += weight(o) * v * v;
    }
    network.degreesOfFreedom = static_cast<int>(network.observations.size()) - u;
    if (network.degreesOfFreedom > 0)
        network.sigma0Mm = std::sqrt(vpv / network.degreesOfFreedom);

    // The inverse normal matrix, one column per solve: its diagonal gives the
    // cofactor of each new height, and with the entry joining the two ends of
    // each observation the cofactor of its residual, q_vv = 1/p - a N^-1 a'.
    Eigen::VectorXd cofactor = Eigen::VectorXd::Zero(u);
    std::vector<double> between(network.observations.size(), 0);
    if (network.sigma0Mm && u > 0) {
        std::vector<std::vector<std::pair<int, std::size_t>>> toOther(u);
        for (std::size_t i = 0; i < network.observations.size(); ++i) {
            const auto a = unknown.find(network.observations[i].from);
            const auto b = unknown.find(network.observations[i].to);
            if (a != unknown.end() && b != unknown.end() && a->second != b->second)
                toOther[a->second].push_back({b->second, i});
        }
        Eigen::VectorXd unit = Eigen::VectorXd::Zero(u);
        for (int j = 0; j < u; ++j) {
            unit[j] = 1;
            const Eigen::VectorXd column = cholesky.solve(unit);
            cofactor[j] = column[j];
            for (const auto& [other, i] : toOther[j]) between[i] = column[other];
            unit[j] = 0;
        }
    }
    for (std::size_t i = 0; network.sigma0Mm && i < network.observations.size(); ++i) {
        NetworkObservation& o = network.observations[i];
        const auto a = unknown.find(o.from), b = unknown.find(o.to);
        const bool hasA = a != unknown.end(), hasB = b != unknown.end();
        double aNa = 0;  // zero for a section back to its start
        if (!(hasA && hasB && a->second == b->second)) {
            if (hasA) aNa += cofactor[a->second];
            if (hasB) aNa += cofactor[b->second];
            if (hasA && hasB) aNa -= 2 * between[i];
        }
        const double qvv = 1 / weight(o) - aNa;
        o.redundancy = std::clamp(qvv * weight(o), 0.0, 1.0);
        // Below this share the residual is rounding, not a check.
        if (o.redundancy > 1e-9 && aprioriMm > 0)
            o.standardisedResidual = o.residualMm / (aprioriMm * std::sqrt(qvv));
    }
    for (const auto& p : pointOrder) {
        AdjustedPoint point;
        point.name = p;
        point.height = height(p);
        const auto it = unknown.find(p);
        point.known = it == unknown.end();
        if (network.sigma0Mm)
            point.sigmaMm = point.known ? 0.0 : *network.sigma0Mm * std::sqrt(cofactor[it->second]);
        network.points.push_back(point);
    }
}

}  // namespace tarvosen::levelling
