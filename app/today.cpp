#include "app/options_store.h"

#include <ctime>

namespace tarvosen {

std::chrono::year_month_day Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{unsigned(local.tm_mon + 1)},
                                       std::chrono::day{unsigned(local.tm_mday)}};
}

}  // namespace tarvosen
