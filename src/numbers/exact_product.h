#pragma once

// The rounding error of a product, a·b − fl(a·b), exactly: what decides a rounding that falls on
// a half. A fused multiply-add gives it in one step where the processor has one; WebAssembly has
// none and its library computes the fused operation slowly, so there Dekker's product gives the
// same number from ordinary multiplications.

#include <cmath>

namespace koravin {

// a·b − product exactly, for product = fl(a·b), |a| and |b| below 2^995 and a·b not far below
// 2^-960 (no intermediate overflows or falls into the subnormals).
inline double DekkerProductError(double a, double b, double product) {
    // Veltkamp's split: each half has at most 26 significant bits, so their products are exact.
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double ca = kSplitter * a;
    const double aHigh = ca - (ca - a);
    const double aLow = a - aHigh;
    const double cb = kSplitter * b;
    const double bHigh = cb - (cb - b);
    const double bLow = b - bHigh;
    return ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

inline double ExactProductError(double a, double b, double product) {
#if defined(__wasm__)
    return DekkerProductError(a, b, product);
#else
    return std::fma(a, b, -product);
#endif
}

}  // namespace koravin
