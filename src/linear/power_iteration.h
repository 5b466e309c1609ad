#pragma once

#include "matrix/matrix.h"

namespace koravin {

// The reference value of the 2-norm of the leading n x n block of m: the square root of the
// largest eigenvalue of MᵀM, estimated by 30 rounds of n power steps with single-precision
// estimates, so good to about seven significant digits. 0 when the estimate is negative, infinite
// when it exceeds the single-precision range.
double PowerIterationTwoNorm(const Matrix& m, int n);

}  // namespace koravin
