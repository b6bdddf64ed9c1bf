#include "adjustment/traverse_angles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/number_text.h"

namespace tarvosen {

namespace {

constexpr double kRadiansPerSecond = kPi / (180.0 * 3600.0);

// The angle brought into (−π, π].
double Wrapped(double angle) {
    double a = ReducedToTurn(angle);
    if (a > kPi) a -= kTwoPi;
    return a;
}

}  // namespace

int SecondsSum(const DmsParts& faceI, const DmsParts& faceII) {
    int sum = static_cast<int>(LeadingInteger(faceI.seconds) + LeadingInteger(faceII.seconds));
    if (faceI.minutes != faceII.minutes) {
        const int apart = static_cast<int>(
            std::llabs(LeadingInteger(faceI.minutes) - LeadingInteger(faceII.minutes)));
        sum += 60 * std::min(apart, 60 - apart);
    }
    return sum;
}

double MeanDirection(double faceI, double faceII) {
    return faceI + Wrapped(faceII - faceI - kPi) / 2;
}

double RoundedMeanDirection(double faceI, double faceII) {
    const DmsParts p = SplitDmsRounded(MeanDirection(faceI, faceII));
    return DmsPartsToRadians(p.degrees, p.minutes, p.seconds);
}

double HorizontalAngle(double backsightI, double backsightII, double foresightI,
                       double foresightII) {
    return RoundedMeanDirection(foresightI, foresightII) -
           RoundedMeanDirection(backsightI, backsightII);
}

int IndexErrorSeconds(double zenithI, double zenithII) {
    // Whole seconds of the error must come out whole whatever the precision
    // of the arithmetic, so the sub-micro-second noise is rounded away first.
    double x = ToArcSeconds((zenithI + zenithII - kTwoPi) / 2);
    const double whole = std::trunc(x);
    const bool odd = std::fmod(whole, 2.0) != 0;
    if (x > 0 && x - whole > 0.01 && odd) x += 1;
    if (x <= 0 && x - whole < -0.01 && odd) x -= 1;
    return static_cast<int>(std::trunc(x));
}

double CorrectedZenith(double zenithI, int indexErrorSeconds) {
    return zenithI - indexErrorSeconds * kRadiansPerSecond;
}

}  // namespace tarvosen
