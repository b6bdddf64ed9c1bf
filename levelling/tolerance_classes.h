#pragma once
// Levelling classes and the five tolerance limits of the high-order record
// book. The limits are kept as the texts typed into the option dialog and
// converted strictly when a check needs them.

#include <array>
#include <string>
#include <string_view>

#include "app/options_store.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {

// LevellingClass: 0 一等, 1 二等, 2 三等.
inline constexpr int kLevellingClassCount = 3;
const char* LevellingClassName(int levellingClass);

// The fields of the limits, in dialog order (the limit fields).
enum LimitField {
    kSightLength,
    kSightDifference,
    kAccumulatedDifference,
    kReadingDifference,
    kHeightDifference
};
inline constexpr int kLimitCount = 5;
// The field's label, e.g. "视线长度≦".
const char* LimitLabel(int field);

// ClassLimitTable: the limits of each class in single precision, as the
// instrument manuals give them (m, m, m, mm, mm).
const std::array<float, kLimitCount>& ClassLimits(int levellingClass);

// The row of a class as the dialog shows it, each limit in its shortest
// decimal text ("50", "1", "3", "0.4", "0.6" for 二等).
std::array<std::string, kLimitCount> ClassLimitTexts(int levellingClass);

// The order whose limits the options hold, as the high-order book's title
// names it: "四等" for the profile gb12898-4, a profile file's own name, else
// the class ("一等").
std::string LimitsOrderName(const ToleranceOptions& options);

// ComboBox1Change: selects the class and loads its limits into the fields.
void SelectLevellingClass(ToleranceOptions& options, int levellingClass);

// The five limits converted strictly from the option texts. A text that is
// not a number throws ConversionError naming the field and the text.
struct ToleranceLimits {
    std::array<double, kLimitCount> value{};
    double operator[](int field) const { return value[field]; }
};
ToleranceLimits ReadToleranceLimits(const ToleranceOptions& options);

}  // namespace tarvosen::levelling
