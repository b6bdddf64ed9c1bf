#include "levelling/network/tolerance_profile.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/data_paths.h"
#include "app/errors.h"

namespace tarvosen::levelling {

namespace {

using nlohmann::json;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError({msg::kCannotReadProfile, "Cannot read the profile file %1", {path.string()}});
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToleranceProfile FromJson(const json& j, const std::string& origin) {
    if (!j.is_object())
        throw Failure({msg::kProfileNotObject, "%1: a tolerance profile is a JSON object", {origin}});
    auto number = [&](const char* key) {
        const auto it = j.find(key);
        if (it == j.end() || !it->is_number())
            throw Failure({msg::kProfileNeedsNumber, "%1: the profile needs the number \"%2\"",
                           {origin, key}});
        const double value = it->get<double>();
        if (!(value > 0))
            throw Failure({msg::kProfileNumberNotAboveZero, "%1: \"%2\" must be above 0", {origin, key}});
        return value;
    };
    const auto name = j.find("name");
    if (name == j.end() || !name->is_string())
        throw Failure({msg::kProfileNeedsName, "%1: the profile needs the text \"name\"", {origin}});
    ToleranceProfile p;
    p.name = name->get<std::string>();
    p.sightLengthM = number("sight_length_m");
    p.sightDifferenceM = number("sight_difference_m");
    p.accumulatedDifferenceM = number("accumulated_difference_m");
    p.readingDifferenceMm = number("reading_difference_mm");
    p.heightDifferenceMm = number("height_difference_mm");
    p.kFb = number("k_fb");
    p.kRoute = number("k_route");
    p.kLoop = number("k_loop");
    p.mDeltaLimitMm = number("m_delta_limit_mm");
    p.mWLimitMm = number("m_w_limit_mm");
    return p;
}

json ParseJson(std::string_view text, const std::string& origin) {
    try {
        return json::parse(text);
    } catch (const json::parse_error& e) {
        throw Failure({msg::kNotJson, "%1 is not JSON: %2", {origin, e.what()}});
    }
}

}  // namespace

ToleranceProfile ParseToleranceProfile(std::string_view text, const std::string& origin) {
    return FromJson(ParseJson(text, origin), origin);
}

ToleranceProfile ResolveToleranceProfile(std::string_view nameOrFile) {
    if (const auto data = FindDataFile(kProfilesDataFile)) {
        const std::string origin = data->string();
        const json all = ParseJson(ReadFile(*data), origin);
        for (const json& p : all.at("profiles"))
            if (p.value("name", "") == nameOrFile) return FromJson(p, origin);
    }
    const std::filesystem::path path{std::string(nameOrFile)};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw UsageError("--profile takes gb12897-1, gb12897-2, gb12898-3, gb12898-4 or a profile "
                         "file, not \"" + std::string(nameOrFile) + "\"");
    return ParseToleranceProfile(ReadFile(path), path.string());
}

}  // namespace tarvosen::levelling
