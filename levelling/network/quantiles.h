#pragma once
// Quantiles of the distributions the adjustment is tested with.

namespace tarvosen::levelling {

// The value a chi-square variable with `dof` degrees of freedom stays below
// with the probability `p` (0 < p < 1, dof > 0).
double ChiSquareQuantile(double p, int dof);

// The value a standard normal variable stays below with the probability `p`.
double NormalQuantile(double p);

}  // namespace tarvosen::levelling
