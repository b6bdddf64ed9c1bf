#include "zeiss/angle_texts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "zeiss/fixed_columns.h"
#include "zeiss/record_conversions.h"

namespace tarvosen::zeiss {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Stand-ins for the shared angle helpers of adjustment/, until they land.
double DmsTextToRadiansLocal(std::string_view text) {
    const std::string s(text);
    const auto point = s.find('.');
    const std::string degrees = s.substr(0, point);
    std::string minutes, seconds;
    if (point != std::string::npos) {
        minutes = s.substr(point + 1, 2);
        seconds = s.substr(std::min(s.size(), point + 3), 2);
        if (s.size() > point + 5) seconds += "." + s.substr(point + 5);
    }
    const long d = std::strtol(degrees.c_str(), nullptr, 10);
    const long m = std::strtol(minutes.c_str(), nullptr, 10);
    const double sec = std::strtod(seconds.c_str(), nullptr);
    const double r = (std::labs(d) + m * (1.0 / 60) + sec * (1.0 / 3600)) * (1.0 / 180) * kPi;
    return d < 0 ? -r : r;
}

std::string FormatDmsCompactLocal(double angle) {
    while (angle < 0) angle += kTwoPi;
    for (;;) {
        while (angle > kTwoPi) angle -= kTwoPi;
        if (std::fabs(angle - kTwoPi) < 1e-10) {
            angle -= kTwoPi;
            continue;
        }
        break;
    }
    double D = std::fabs(angle) * (1 / kPi) * 180;
    const int d = static_cast<int>(D);
    double M = (D - d) * 60;
    const int m = static_cast<int>(M);
    int s = static_cast<int>((M - m) * 60 + 0.5);
    if (s == 60) {
        M += 1;
        s = 0;
        if (static_cast<int>(M) == 60) {
            D += 1;
            M = 0;
        }
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, angle < 0 ? "-%3d.%02d%02d" : "%3d.%02d%02d",
                  static_cast<int>(D), static_cast<int>(M), s);
    return buf;
}

double GonToRadians(double gon) {
    return gon * kPi / 200;
}

}  // namespace

bool IsGonUnit(std::string_view unit) {
    const auto u = TrimBlanksAndControls(unit);
    return u == "gon" || u == "grd";
}

double R5AngleToRadians(std::string_view value, std::string_view unit) {
    if (IsGonUnit(unit)) {
        double gon = 0;
        ParseDecimal(value, gon);
        return GonToRadians(gon);
    }
    return DmsTextToRadiansLocal(TrimBlanksAndControls(value));
}

std::string GonToDmsText(double gon) {
    return FormatDmsCompactLocal(GonToRadians(gon));
}

}  // namespace tarvosen::zeiss
