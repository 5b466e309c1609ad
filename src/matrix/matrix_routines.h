#pragma once

#include "matrix/matrix.h"

namespace koravin {

// Exchanges M(r1, j) and M(r2, j) for j = 1..lastColumn (a row with itself changes nothing).
void SwapRows(Matrix& m, int r1, int r2, int lastColumn);

// Exchanges M(i, c1) and M(i, c2) for i = 1..lastRow.
void SwapColumns(Matrix& m, int c1, int c2, int lastRow);

struct EntryPosition {
    int row;
    int col;
};

// The entry of largest magnitude in the leading m x m block; ties keep the first in row order.
EntryPosition FindLargestEntry(const Matrix& m, int blockSize);

// The index of the largest entry by signed value; ties keep the first.
int IndexOfLargest(const Vector& v);

// The entry of v(1..n) of largest magnitude, with its sign, in single precision.
float LargestMagnitudeEntry(const Vector& v, int n);

struct DeterminantResult {
    double determinant;
    int swaps;
};

// Column-pivot elimination of the n x n leading block (n = rows of A), every update rounded to
// a fixed 7 places; A is left reduced. A zero pivot column gives the determinant 0.
DeterminantResult PivotDeterminant(Matrix& a);

}  // namespace koravin
