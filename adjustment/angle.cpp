#include "adjustment/angle.h"

#include <cmath>
#include <cstdio>

#include "app/number_text.h"

namespace tarvosen {

namespace {

// Beyond this many turns the reduction uses fmod instead of stepping a turn
// at a time, so a nonsense reading cannot stall it.
constexpr double kSteppingLimit = 1e6 * kTwoPi;

std::string Format(const char* format, long long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// Whole arc-seconds split into "%3d", "%02d", "%d" texts.
DmsParts PartsOfSeconds(long long seconds, bool negative) {
    return {Format(negative ? "-%3lld" : "%3lld", seconds / 3600),
            Format("%02lld", seconds / 60 % 60), Format("%lld", seconds % 60)};
}

}  // namespace

DmsParts SplitDmsText(std::string_view text) {
    text = Trim(text, Blanks::WhiteSpace);
    const auto point = text.find('.');
    DmsParts parts;
    parts.degrees = std::string(text.substr(0, point));
    std::string rest =
        point == std::string_view::npos ? std::string() : std::string(text.substr(point + 1));
    // A packed number drops its trailing zeros: "12.3" is 12°30'00".
    if (rest.size() < 4) rest.append(4 - rest.size(), '0');
    parts.minutes = rest.substr(0, 2);
    parts.seconds = rest.substr(2, 2);
    if (rest.size() > 4) parts.seconds += "." + rest.substr(4);
    return parts;
}

double DmsPartsToRadians(std::string_view degrees, std::string_view minutes,
                         std::string_view seconds) {
    const long long d = LeadingInteger(degrees);
    const long long m = LeadingInteger(minutes);
    const double s = LeadingDecimal(seconds);
    const double r =
        (std::fabs(static_cast<double>(d)) + m * (1.0 / 60) + s * (1.0 / 3600)) * (1.0 / 180) * kPi;
    const std::string_view sign = Trim(degrees, Blanks::WhiteSpace);
    return !sign.empty() && sign.front() == '-' ? -r : r;
}

double DmsTextToRadians(std::string_view text) {
    const DmsParts p = SplitDmsText(text);
    return DmsPartsToRadians(p.degrees, p.minutes, p.seconds);
}

double GonToRadians(double gon) {
    return gon * kPi / 200;
}

void ReduceToTurn(double& angle, bool negative) {
    if (!std::isfinite(angle)) return;
    if (std::fabs(angle) > kSteppingLimit) angle = std::fmod(angle, kTwoPi);
    while (angle < 0) angle += kTwoPi;
    for (;;) {
        while (angle > kTwoPi) angle -= kTwoPi;
        if (std::fabs(angle - kTwoPi) < kTurnGuard) {
            // A full turn is zero; exactly zero, so no text shows "-  0".
            angle = 0;
            continue;
        }
        break;
    }
    if (negative && angle > 0) angle -= kTwoPi;
}

double ReducedToTurn(double angle, bool negative) {
    ReduceToTurn(angle, negative);
    return angle;
}

double ToArcSeconds(double angle) {
    const double seconds = angle * kInversePi * 180 * 3600;
    return std::round(seconds * 1e6) / 1e6;
}

std::string FormatDmsCompact(double angle) {
    ReduceToTurn(angle);
    if (!std::isfinite(angle)) return "  0.0000";
    const long long n = static_cast<long long>(std::floor(std::fabs(ToArcSeconds(angle)) + 0.5));
    char buf[48];
    std::snprintf(buf, sizeof buf, angle < 0 ? "-%3lld.%02lld%02lld" : "%3lld.%02lld%02lld",
                  n / 3600, n / 60 % 60, n % 60);
    return buf;
}

DmsParts SplitDmsRounded(double angle) {
    ReduceToTurn(angle);
    if (!std::isfinite(angle)) return PartsOfSeconds(0, false);
    // Micro-arc-seconds as an integer: the noise of the radian round trip
    // (about 1e-10") is gone before the whole seconds are taken.
    const long long micro = std::llround(std::fabs(angle) * kInversePi * 180 * 3600 * 1e6);
    long long whole = micro / 1000000;
    const long long fraction = micro % 1000000;
    // An even second keeps its value; an odd one is rounded to the nearest.
    if (whole % 60 % 2 == 1 && fraction >= 500000) ++whole;
    return PartsOfSeconds(whole, angle < 0);
}

}  // namespace tarvosen
