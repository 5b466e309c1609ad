#pragma once

#include "matrix/fixed_rounding.h"
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

// The row p of k..lastRow whose entry in column k has the largest magnitude; ties keep the upper.
int ColumnPivotRow(const Matrix& m, int k, int lastRow);

// Column pivoting: exchanges row k with its ColumnPivotRow over columns k..lastColumn (the
// columns left of k hold the zeros of earlier steps). True when rows were exchanged.
bool BringPivotRowUp(Matrix& m, int k, int lastRow, int lastColumn);

// target[j] = round(target[j] - multiplier * pivot[j]) for j = 0..count-1: the update of one row
// by the pivot row that every elimination of this program makes, written once.
void SubtractScaledRow(double* target, const double* pivot, double multiplier, int count, const FixedRounding& round);

// For i = k+1..lastRow: multiplier M(i, k) / M(k, k), not rounded, and the update of columns
// k..lastColumn of row i. The pivot is not tested: a zero pivot carries Inf and NaN on.
void EliminateColumnBelow(Matrix& m, int k, int lastRow, int lastColumn, const FixedRounding& round);

struct DeterminantResult {
    double determinant;
    int swaps;
};

// Column-pivot elimination of the n x n leading block (n = rows of A), every update rounded to
// a fixed 7 places; A is left reduced. A zero pivot column gives the determinant 0.
DeterminantResult PivotDeterminant(Matrix& a);

}  // namespace koravin
