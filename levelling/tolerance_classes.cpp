#include "levelling/tolerance_classes.h"

#include <charconv>
#include <stdexcept>

#include "app/errors.h"
#include "zeiss/fixed_columns.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {

namespace {

constexpr std::array<std::array<float, kLimitCount>, kLevellingClassCount> kClassLimitTable{{
    {30.0f, 0.5f, 1.5f, 0.3f, 0.4f},
    {50.0f, 1.0f, 3.0f, 0.4f, 0.6f},
    {100.0f, 2.0f, 5.0f, 1.0f, 1.5f},
}};

void RequireClass(int levellingClass) {
    if (levellingClass < 0 || levellingClass >= kLevellingClassCount)
        throw std::out_of_range("levelling class " + std::to_string(levellingClass));
}

}  // namespace

const char* LevellingClassName(int levellingClass) {
    static const char* const kNames[] = {"一等", "二等", "三等"};
    RequireClass(levellingClass);
    return kNames[levellingClass];
}

const char* LimitLabel(int field) {
    static const char* const kLabels[] = {"视线长度≦", "视距差(m)≦", "累积差(m)≦", "两次读数差≦",
                                          "高差之差≦"};
    return kLabels[field];
}

const std::array<float, kLimitCount>& ClassLimits(int levellingClass) {
    RequireClass(levellingClass);
    return kClassLimitTable[levellingClass];
}

std::array<std::string, kLimitCount> ClassLimitTexts(int levellingClass) {
    std::array<std::string, kLimitCount> texts;
    const auto& limits = ClassLimits(levellingClass);
    for (int f = 0; f < kLimitCount; ++f) {
        char buffer[32];
        // Shortest text that reads back as the same float: 0.4f gives "0.4".
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, limits[f]).ptr;
        texts[f].assign(buffer, end);
    }
    return texts;
}

std::string LimitsOrderName(const ToleranceOptions& options) {
    if (options.profile.empty()) return LevellingClassName(options.levellingClass);
    static constexpr std::pair<std::string_view, const char*> kProfileOrders[] = {
        {"gb12897-1", "一等"}, {"gb12897-2", "二等"}, {"gb12898-3", "三等"}, {"gb12898-4", "四等"}};
    for (const auto& [profile, order] : kProfileOrders)
        if (options.profile == profile) return order;
    return options.profile;
}

void SelectLevellingClass(ToleranceOptions& options, int levellingClass) {
    options.limits = ClassLimitTexts(levellingClass);
    options.levellingClass = levellingClass;
    options.profile.clear();
}

ToleranceLimits ReadToleranceLimits(const ToleranceOptions& options) {
    ToleranceLimits limits;
    for (int f = 0; f < kLimitCount; ++f) {
        const std::string& text = options.limits[f];
        const std::optional<double> value = ParseWholeNumber(text);
        if (!value)
            throw ConversionError({msg::kToleranceLimitNotNumber,
                                   "\"%1\" is not a valid number (tolerance limit %2)",
                                   {text, LimitLabel(f)}});
        limits.value[f] = *value;
    }
    return limits;
}

}  // namespace tarvosen::levelling
