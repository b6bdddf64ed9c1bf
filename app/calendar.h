#pragma once
// Today's date, and dates typed as options (YYYY-MM-DD).

#include <chrono>
#include <string>
#include <string_view>

namespace tarvosen {

std::chrono::year_month_day Today();

enum class DateTextProblem {
    None,
    Malformed,        // not four, two and two digits joined by dashes
    NotACalendarDay,  // well formed, but no such day (2026-02-30)
};

struct ParsedDate {
    std::chrono::year_month_day date{};
    DateTextProblem problem = DateTextProblem::None;
    explicit operator bool() const { return problem == DateTextProblem::None; }
};

// Reads "YYYY-MM-DD" exactly: no blanks, no signs, no other widths.
ParsedDate ParseIsoDate(std::string_view text);

// The value of a command line's --date option; throws UsageError saying
// whether it is malformed or no calendar day.
std::chrono::year_month_day DateOption(const std::string& text);

}  // namespace tarvosen
