#pragma once

#include "matrix/fixed_rounding.h"
#include "matrix/matrix.h"

namespace koravin {

// Eliminates the first column of the m x (m + 1) block S below its first row, in place.
void EliminantFirst(Matrix& s, int m, const FixedRounding& round);

// S(i - k + 1, j - k + 1) = W(i, j) for i = k..n, j = k..n+1.
void CopyTrailingBlock(const Matrix& w, int n, int k, Matrix& s);

}  // namespace koravin
