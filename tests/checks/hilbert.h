#pragma once

// The Hilbert matrix H(i, j) = 1/(i + j - 1) and its inverse, whose entries are integers known
// in closed form.

#include <cmath>

namespace koravin::testing {

inline double Binomial(int n, int k) {
    double c = 1;
    for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return std::round(c);
}

// (H⁻¹)(i, j) = (-1)^(i+j) (i+j-1) C(n+i-1, n-j) C(n+j-1, n-i) C(i+j-2, i-1)².
inline double HilbertInverse(int n, int i, int j) {
    const double c = Binomial(i + j - 2, i - 1);
    const double sign = (i + j) % 2 == 0 ? 1 : -1;
    return sign * (i + j - 1) * Binomial(n + i - 1, n - j) * Binomial(n + j - 1, n - i) * c * c;
}

}  // namespace koravin::testing
