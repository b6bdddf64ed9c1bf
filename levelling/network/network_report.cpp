// The machine-readable report (JSON) and the observations as input of GNU
// Gama's gama-local (its XML format: known points fixed in z, the rest
// adjusted, one dh per observation).

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

#include <nlohmann/json.hpp>

#include "app/errors.h"
#include "levelling/network/network_results.h"
#include "levelling/network/quantiles.h"

namespace tarvosen::levelling {

namespace {

using nlohmann::ordered_json;

ordered_json Optional(const std::optional<double>& v) {
    return v ? ordered_json(*v) : ordered_json(nullptr);
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw FileError({msg::kCannotWrite, "Cannot write %1", {path.string()}});
}

std::string Number(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Fixed2(double v) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    return buffer;
}

// A text inside an XML comment, which may not hold "--".
std::string CommentSafe(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '-' && !out.empty() && out.back() == '-') out += ' ';
        out += c;
    }
    if (!out.empty() && out.back() == '-') out += ' ';
    return out;
}

}  // namespace

void WriteNetworkReport(const std::filesystem::path& path, const LevelNetwork& network,
                        const ToleranceProfile& profile, std::size_t stationViolations,
                        const std::vector<LimitViolation>& violations) {
    ordered_json report;
    report["profile"] = profile.name;
    report["ok"] = violations.empty();
    ordered_json sections = ordered_json::array();
    for (const auto& o : network.observations) {
        const LevelSection& f = network.sections[o.forward];
        sections.push_back({
            {"from", o.from},
            {"to", o.to},
            {"length_km", o.lengthKm},
            {"stations", o.stations},
            {"h_forward", f.heightDifference},
            {"h_return", o.back ? ordered_json(network.sections[*o.back].heightDifference)
                                : ordered_json(nullptr)},
            {"discrepancy_mm", Optional(o.discrepancyMm)},
            {"limit_mm", Optional(o.limitMm)},
            {"ok", o.ok},
            {"h", o.heightDifference},
            {"residual_mm", o.residualMm},
            {"redundancy", o.redundancy},
            {"standardised_residual", Optional(o.standardisedResidual)},
            {"residual_ok", o.residualOk},
        });
    }
    report["sections"] = sections;
    report["m_delta_mm"] = Optional(network.mDeltaMm);
    report["m_delta_limit_mm"] = profile.mDeltaLimitMm;
    report["m_w_mm"] = Optional(network.mWMm);
    report["m_w_limit_mm"] = profile.mWLimitMm;
    ordered_json misclosures = ordered_json::array();
    for (const auto& m : network.misclosures)
        misclosures.push_back({{"points", m.points},
                               {"section_indices", m.observations},  // into "sections"

                               {"length_km", m.lengthKm},
                               {"w_mm", m.wMm},
                               {"limit_mm", m.limitMm},
                               {"loop", m.loop},
                               {"ok", m.ok}});
    report["misclosures"] = misclosures;
    ordered_json points = ordered_json::array();
    for (const auto& p : network.points)
        points.push_back({{"name", p.name},
                          {"height", p.height},
                          {"sigma_mm", Optional(p.sigmaMm)},
                          {"known", p.known}});
    const AdjustmentTest& test = network.test;
    const int dof = network.degreesOfFreedom;
    report["adjustment"] = {
        {"sigma0_mm", Optional(network.sigma0Mm)},
        {"dof", dof},
        {"confidence", test.confidence},
        {"sigma0_apriori_mm", test.aprioriMm},
        {"chi_square", network.sigma0Mm ? ordered_json(dof * std::pow(*network.sigma0Mm / test.aprioriMm, 2))
                                        : ordered_json(nullptr)},
        {"chi_square_limit", network.sigma0Mm ? ordered_json(ChiSquareQuantile(test.confidence, dof))
                                              : ordered_json(nullptr)},
        {"sigma0_limit_mm", Optional(test.sigma0LimitMm)},
        {"sigma0_ok", test.sigma0Ok},
        {"standardised_residual_limit", test.residualLimit},
        // The first held point as before; every held point, one per part, beside it.
        {"held_at_zero", network.heldPoints.empty() ? ordered_json(nullptr)
                                                    : ordered_json(network.heldPoints.front())},
        {"held_at_zero_in_each_part", network.heldPoints},
        {"points", points},
    };
    report["station_violations"] = stationViolations;
    ordered_json list = ordered_json::array();
    for (const auto& v : violations)
        list.push_back({{"what", v.what},
                        {"file", v.file.empty() ? ordered_json(nullptr) : ordered_json(v.file)},
                        {"line", v.line ? ordered_json(v.line) : ordered_json(nullptr)}});
    report["violations"] = list;
    WriteText(path, report.dump(2) + "\n");
}

std::vector<std::size_t> WriteGamaInput(const std::filesystem::path& path,
                                        const LevelNetwork& network, Weighting weighting) {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n"
        "<gama-local xmlns=\"http://www.gnu.org/software/gama/gama-local\">\n"
        "<network axes-xy=\"ne\">\n"
        "<description>levelling network</description>\n"
        "<parameters sigma-apr=\"1\" conf-pr=\"" + Number(network.test.confidence) +
        "\" tol-abs=\"1000\" sigma-act=\"aposteriori\" />\n"
        "<points-observations>\n";
    for (const auto& p : network.points) {
        xml += "<point id=\"" + XmlEscaped(p.name) + "\"";
        if (p.known || network.isHeld(p.name))
            xml += " z=\"" + Number(p.height) + "\" fix=\"z\"";
        else
            xml += " adj=\"z\"";
        xml += " />\n";
    }
    xml += "<height-differences>\n";
    std::vector<std::size_t> leftOut;
    for (std::size_t i = 0; i < network.observations.size(); ++i) {
        const NetworkObservation& o = network.observations[i];
        if (o.from == o.to) {
            // A dh from a point to itself means nothing to gama-local.
            const LevelSection& s = network.sections[o.forward];
            xml += "<!-- left out: the section from " + CommentSafe(o.from) +
                   " back to itself (" + CommentSafe(s.file) + ", lines " +
                   std::to_string(s.firstLine) + "-" + std::to_string(s.lastLine) +
                   "), misclosure " + Fixed2(o.heightDifference * 1000) + " mm -->\n";
            leftOut.push_back(i);
            continue;
        }
        xml += "<dh from=\"" + XmlEscaped(o.from) + "\" to=\"" + XmlEscaped(o.to) + "\" val=\"" +
               Number(o.heightDifference) + "\" dist=\"" + Number(o.lengthKm) + "\"";
        // With station weights the standard deviation of each dh is given:
        // sqrt(n) mm for the unit weight of one station.
        if (weighting == Weighting::Stations) xml += " stdev=\"" + Number(std::sqrt(o.stations)) + "\"";
        xml += " />\n";
    }
    xml += "</height-differences>\n</points-observations>\n</network>\n</gama-local>\n";
    WriteText(path, xml);
    return leftOut;
}

}  // namespace tarvosen::levelling
