#include "app/calendar.h"

#include <charconv>
#include <ctime>

#include "app/errors.h"

namespace tarvosen {

std::chrono::year_month_day Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{unsigned(local.tm_mon + 1)},
                                       std::chrono::day{unsigned(local.tm_mday)}};
}

ParsedDate ParseIsoDate(std::string_view text) {
    int y = 0;
    unsigned m = 0, d = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    auto number = [&](auto& value, std::size_t digits) {
        const char* start = p;
        auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc() || static_cast<std::size_t>(next - start) != digits) return false;
        p = next;
        return true;
    };
    auto dash = [&] { return p < end && *p++ == '-'; };
    if (!(number(y, 4) && dash() && number(m, 2) && dash() && number(d, 2) && p == end))
        return {{}, DateTextProblem::Malformed};
    const std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{m},
                                           std::chrono::day{d}};
    if (!date.ok()) return {date, DateTextProblem::NotACalendarDay};
    return {date, DateTextProblem::None};
}

std::chrono::year_month_day DateOption(const std::string& text) {
    const ParsedDate parsed = ParseIsoDate(text);
    if (parsed.problem == DateTextProblem::Malformed)
        throw UsageError("--date takes a date as YYYY-MM-DD, not \"" + text + "\"");
    if (!parsed) throw UsageError("--date " + text + " is not a calendar date");
    return parsed.date;
}

}  // namespace tarvosen
