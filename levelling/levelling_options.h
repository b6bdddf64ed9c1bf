#pragma once
// The options of the levelling record books and of the checking commands.

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "app/calendar.h"
#include "app/option_dialog.h"

namespace tarvosen {

// The dialogs that edit ToleranceOptions and GeoBookOptions.
inline constexpr OptionDialog kTolerancesDialog{"levelling.tolerances",
                                                "The DINI levelling option dialog"};
inline constexpr OptionDialog kGeoBookDialog{
    "levelling.geo-book", "The geological-institute record book dialog"};

// Levelling class and tolerance limits (ToleranceDialog): field texts as typed.
struct ToleranceOptions {
    int levellingClass = 0;  // 0 一等, 1 二等, 2 三等
    std::array<std::string, 5> limits{"30", "0.5", "1.5", "0.3", "0.4"};
    // The tolerance profile the limits were loaded from; empty when they
    // are the class's or typed.
    std::string profile;
};

// Geological-institute record book (GeoBookDialog).
struct GeoBookOptions {
    std::string observer;
    std::string weather;
    std::string windDirection;
    std::string windForce;
    std::string instrument = "110113";
    // The observation date; the book leaves it empty when none was given,
    // since the data hold none.
    std::optional<std::chrono::year_month_day> date;
};

// The checking commands (check, dini-audit).
struct CheckOptions {
    std::string reportFile;  // not empty: the findings are written here as JSON
};

}  // namespace tarvosen
