#include "matrix/matrix_routines.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <cmath>

namespace koravin {
namespace {

Matrix MatrixOf(std::initializer_list<std::initializer_list<double>> rows) {
    Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (const double value : row) m(i, j++) = value;
        ++i;
    }
    return m;
}

Vector VectorOf(std::initializer_list<double> values) {
    Vector v(1, static_cast<int>(values.size()));
    int i = 1;
    for (const double value : values) v(i++) = value;
    return v;
}

TEST(MatrixRoutines, SwapsRowsAndColumnsWithinTheirRange) {
    Matrix m = MatrixOf({{1, 2, 3}, {4, 5, 6}});
    SwapRows(m, 1, 2, 2);
    EXPECT_EQ(m(1, 1), 4);
    EXPECT_EQ(m(1, 2), 5);
    EXPECT_EQ(m(1, 3), 3);  // beyond lastColumn
    EXPECT_EQ(m(2, 3), 6);
    SwapRows(m, 2, 2, 3);
    EXPECT_EQ(m(2, 1), 1);
    SwapColumns(m, 1, 3, 1);
    EXPECT_EQ(m(1, 1), 3);
    EXPECT_EQ(m(1, 3), 4);
    EXPECT_EQ(m(2, 1), 1);  // beyond lastRow
}

TEST(MatrixRoutines, FindLargestEntryKeepsTheFirstOfEqualMagnitudes) {
    const EntryPosition tie = FindLargestEntry(MatrixOf({{1, -3}, {3, 2}}), 2);
    EXPECT_EQ(tie.row, 1);
    EXPECT_EQ(tie.col, 2);
    // The column right of the block is not searched.
    const EntryPosition block = FindLargestEntry(MatrixOf({{1, 2, 99}, {-5, 4, 99}}), 2);
    EXPECT_EQ(block.row, 2);
    EXPECT_EQ(block.col, 1);
    const EntryPosition zeros = FindLargestEntry(Matrix(3, 4), 3);
    EXPECT_EQ(zeros.row, 1);
    EXPECT_EQ(zeros.col, 1);
}

TEST(MatrixRoutines, IndexOfLargestComparesSignedValues) {
    EXPECT_EQ(IndexOfLargest(VectorOf({-5, 2, 2})), 2);
    EXPECT_EQ(IndexOfLargest(VectorOf({7})), 1);
    Vector fromZero(0, 2);
    fromZero(0) = 1;
    fromZero(2) = 4;
    EXPECT_EQ(IndexOfLargest(fromZero), 2);
}

TEST(MatrixRoutines, LargestMagnitudeEntryIsSinglePrecision) {
    EXPECT_EQ(LargestMagnitudeEntry(VectorOf({1, -4, 4}), 3), -4.0f);
    EXPECT_EQ(LargestMagnitudeEntry(VectorOf({1, -4, 9}), 2), -4.0f);
    // 1 + 1e-9 and 1 are the same single.
    EXPECT_EQ(LargestMagnitudeEntry(VectorOf({1, 1 + 1e-9}), 2), 1.0f);
    EXPECT_EQ(LargestMagnitudeEntry(VectorOf({0.1}), 1), 0.1f);
}

TEST(MatrixRoutines, PivotDeterminantCountsRowExchanges) {
    Matrix a = MatrixOf({{0, 1}, {1, 0}});
    DeterminantResult result = PivotDeterminant(a);
    EXPECT_EQ(result.determinant, -1);
    EXPECT_EQ(result.swaps, 1);

    Matrix b = MatrixOf({{2, 1}, {4, 3}});
    result = PivotDeterminant(b);
    EXPECT_EQ(result.determinant, 2);
    EXPECT_EQ(result.swaps, 1);
    EXPECT_EQ(b(1, 1), 4);
    EXPECT_EQ(b(2, 2), -0.5);
    EXPECT_EQ(b(2, 1), 0);
}

TEST(MatrixRoutines, PivotDeterminantRoundsToSevenPlaces) {
    Matrix a = MatrixOf({{1, 2}, {3, 4}});
    const DeterminantResult result = PivotDeterminant(a);
    EXPECT_EQ(a(2, 2), 0.6666667);
    EXPECT_EQ(result.determinant, -(3 * 0.6666667));
    EXPECT_EQ(result.swaps, 1);
}

TEST(MatrixRoutines, SingularMatrixHasDeterminantZero) {
    Matrix a = MatrixOf({{1, 2, 3}, {2, 4, 6}, {1, 0, 1}});
    DeterminantResult result = PivotDeterminant(a);
    EXPECT_EQ(result.determinant, 0);
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) EXPECT_TRUE(std::isfinite(a(i, j))) << i << "," << j;
    }
    // A zero first column: the elimination of that column is already done, not 0/0.
    Matrix column = MatrixOf({{0, 1}, {0, 2}});
    result = PivotDeterminant(column);
    EXPECT_EQ(result.determinant, 0);
    EXPECT_EQ(result.swaps, 0);
    EXPECT_EQ(column(1, 2), 1);
    EXPECT_EQ(column(2, 2), 2);
    Matrix zero(2, 2);
    result = PivotDeterminant(zero);
    EXPECT_EQ(result.determinant, 0);
    EXPECT_EQ(result.swaps, 0);
}

}  // namespace
}  // namespace koravin
