#pragma once

// The eliminations written plainly, with RoundDigits at every update, for comparison with the
// vectorised rounding of the program.

#include "matrix/matrix.h"

namespace koravin::reference {

// For k = 1..n, i = k+1..n: m = W(i,k) / W(k,k); W(i,j) = RoundDigits(W(i,j) - m * W(k,j), places)
// for j = k..cols; with column pivoting first when `pivoting`.
void PlainElimination(Matrix& w, int places, bool pivoting);

}  // namespace koravin::reference
