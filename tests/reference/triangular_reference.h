#pragma once

// The triangular decompositions written plainly, row by row in the order their formulas are
// stated, for comparing the cache-friendly ones with, bit for bit.

#include <optional>

#include "matrix/matrix.h"

namespace koravin::reference {

struct LowerUpper {
    Matrix l;
    Matrix u;
};

// Doolittle; nothing when U(k,k) is 0 or NaN while a row below k remains.
std::optional<LowerUpper> Doolittle(const Matrix& a);

// Column-pivot decomposition choosing the largest signed candidate, re-shaping all of L after
// every exchange.
struct PivotedLowerUpper {
    Matrix w;
    Matrix l;
    Matrix u;
};
PivotedLowerUpper ColumnPivot(const Matrix& augmented);

// L·Lᵀ; a negative radicand leaves its diagonal entry 0.
Matrix SquareRoot(const Matrix& a);

// L·D·Lᵀ, row by row; nothing when D(j) is 0 or NaN for some j < n.
struct LowerDiagonal {
    Matrix l;
    Vector d;
};
std::optional<LowerDiagonal> RootFree(const Matrix& a);

}  // namespace koravin::reference
