#include "matrix/matrix_routines.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "matrix/fixed_rounding.h"
#include "steps/stop_request.h"

namespace koravin {

void SwapRows(Matrix& m, int r1, int r2, int lastColumn) {
    if (r1 == r2) return;
    std::swap_ranges(m.row(r1), m.row(r1) + lastColumn, m.row(r2));
}

void SwapColumns(Matrix& m, int c1, int c2, int lastRow) {
    if (c1 == c2) return;
    for (int i = 1; i <= lastRow; ++i) std::swap(m(i, c1), m(i, c2));
}

EntryPosition FindLargestEntry(const Matrix& m, int blockSize) {
    EntryPosition best{1, 1};
    double bestMagnitude = std::fabs(m(1, 1));
    for (int i = 1; i <= blockSize; ++i) {
        const double* row = m.row(i);
        for (int j = 1; j <= blockSize; ++j) {
            if (std::fabs(row[j - 1]) > bestMagnitude) {
                best = {i, j};
                bestMagnitude = std::fabs(row[j - 1]);
            }
        }
    }
    return best;
}

int IndexOfLargest(const Vector& v) {
    int best = v.lower();
    for (int i = v.lower() + 1; i <= v.upper(); ++i) {
        if (v(i) > v(best)) best = i;
    }
    return best;
}

float LargestMagnitudeEntry(const Vector& v, int n) {
    if (v.size() == 0 || v.lower() > 1 || v.upper() < 1) return 0;
    float best = static_cast<float>(v(1));
    for (int i = 1; i <= n && i <= v.upper(); ++i) {
        const float entry = static_cast<float>(v(i));
        if (std::fabs(best) < std::fabs(entry)) best = entry;
    }
    return best;
}

int ColumnPivotRow(const Matrix& m, int k, int lastRow) {
    int p = k;
    for (int i = k + 1; i <= lastRow; ++i) {
        if (std::fabs(m(p, k)) < std::fabs(m(i, k))) p = i;
    }
    return p;
}

bool BringPivotRowUp(Matrix& m, int k, int lastRow, int lastColumn) {
    const int p = ColumnPivotRow(m, k, lastRow);
    if (p == k) return false;
    std::swap_ranges(m.row(k) + (k - 1), m.row(k) + lastColumn, m.row(p) + (k - 1));
    return true;
}

namespace {

// Built once more for AVX2 where the processor may have it; elsewhere (WebAssembly) as it is.
#if defined(__x86_64__)
#define KORAVIN_AVX2_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define KORAVIN_AVX2_CLONES
#endif

using Doubles4 = double __attribute__((vector_size(32)));
using Bits4 = long long __attribute__((vector_size(32)));

// Four updates at a time with FixedRounding's fast path, lane by lane the same operations, so
// the same bits; a group that meets a half goes through the scalar rounding whole.
KORAVIN_AVX2_CLONES int SubtractScaledRowWide(double* target, const double* pivot, double multiplier, int count,
                                              const FixedRounding& round) {
    const double scale = round.scale();
    const Bits4 signBit = Bits4{} + static_cast<long long>(0x8000000000000000ULL);
    int j = 0;
    for (; j + 4 <= count; j += 4) {
        Doubles4 t;
        Doubles4 p;
        __builtin_memcpy(&t, target + j, sizeof t);
        __builtin_memcpy(&p, pivot + j, sizeof p);
        const Doubles4 value = t - multiplier * p;
        const Doubles4 product = value * scale;
        const Bits4 sign = __builtin_bit_cast(Bits4, product) & signBit;
        const Bits4 magnitudeBits = __builtin_bit_cast(Bits4, product) & ~signBit;
        const Doubles4 magnitude = __builtin_bit_cast(Doubles4, magnitudeBits);
        const Bits4 small = magnitude < 0x1p52;
        const Doubles4 whole = (magnitude + 0x1p52) - 0x1p52;
        const Bits4 roundedBits = __builtin_bit_cast(Bits4, whole) | sign;
        const Doubles4 rounded = __builtin_bit_cast(Doubles4, roundedBits);
        const Doubles4 off = product - rounded;
        const Bits4 half = small & ((off == 0.5) | (off == -0.5));
        if (half[0] | half[1] | half[2] | half[3]) {
            for (int lane = 0; lane < 4; ++lane) target[j + lane] = round(value[lane]);
            continue;
        }
        const Doubles4 result = small ? rounded / scale : value;
        __builtin_memcpy(target + j, &result, sizeof result);
    }
    return j;
}

}  // namespace

void SubtractScaledRow(double* target, const double* pivot, double multiplier, int count, const FixedRounding& round) {
    const int done = round.scaled() ? SubtractScaledRowWide(target, pivot, multiplier, count, round) : 0;
    for (int j = done; j < count; ++j) target[j] = round(target[j] - multiplier * pivot[j]);
}

void EliminateColumnBelow(Matrix& m, int k, int lastRow, int lastColumn, const FixedRounding& round) {
    BetweenSteps();
    const double* pivotRow = m.row(k) + (k - 1);
    for (int i = k + 1; i <= lastRow; ++i) {
        double* row = m.row(i) + (k - 1);
        const double multiplier = row[0] / pivotRow[0];
        SubtractScaledRow(row, pivotRow, multiplier, lastColumn - k + 1, round);
    }
}

DeterminantResult PivotDeterminant(Matrix& a) {
    const int n = a.rows();
    const FixedRounding round(7);
    int swaps = 0;
    bool zeroPivot = false;
    for (int k = 1; k <= n; ++k) {
        if (BringPivotRowUp(a, k, n, n)) ++swaps;
        // The pivot has the largest magnitude of its column: when it is 0, the column below it is
        // already eliminated, and dividing by it would only spread 0/0 through the rows.
        if (a(k, k) == 0) {
            zeroPivot = true;
            continue;
        }
        EliminateColumnBelow(a, k, n, n, round);
    }
    if (zeroPivot) return {0, swaps};
    double det = 1;
    for (int k = 1; k <= n; ++k) det = det * a(k, k);
    if (swaps % 2 != 0) det = det * -1;
    return {det, swaps};
}

}  // namespace koravin
