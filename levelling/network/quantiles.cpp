// Both quantiles invert their distribution function by bisection: the
// functions are monotonic, and 200 halvings reach the precision of a double.

#include "levelling/network/quantiles.h"

#include <cmath>

namespace tarvosen::levelling {

namespace {

// The regularised lower incomplete gamma function P(a, x): its series below
// x = a + 1, one minus its continued fraction (Lentz's method) above.
double LowerGammaRatio(double a, double x) {
    if (x <= 0) return 0;
    const double front = std::exp(-x + a * std::log(x) - std::lgamma(a));
    constexpr double kEpsilon = 1e-16, kTiny = 1e-300;
    if (x < a + 1) {
        double term = 1 / a, sum = term;
        for (double n = a + 1; std::abs(term) > std::abs(sum) * kEpsilon; n += 1) {
            term *= x / n;
            sum += term;
        }
        return sum * front;
    }
    double b = x + 1 - a, c = 1 / kTiny, d = 1 / b, h = d;
    for (int i = 1; i < 10000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::abs(d) < kTiny) d = kTiny;
        c = b + an / c;
        if (std::abs(c) < kTiny) c = kTiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < kEpsilon) break;
    }
    return 1 - front * h;
}

template <typename Cdf>
double Invert(Cdf cdf, double p, double low, double high) {
    while (cdf(high) < p) high *= 2;
    for (int i = 0; i < 200 && high - low > 1e-15 * high; ++i) {
        const double middle = (low + high) / 2;
        (cdf(middle) < p ? low : high) = middle;
    }
    return (low + high) / 2;
}

}  // namespace

double ChiSquareQuantile(double p, int dof) {
    const double a = dof / 2.0;
    return Invert([a](double x) { return LowerGammaRatio(a, x / 2); }, p, 0, dof + 10.0);
}

double NormalQuantile(double p) {
    if (p < 0.5) return -NormalQuantile(1 - p);
    return Invert([](double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }, p, 0, 8);
}

}  // namespace tarvosen::levelling
