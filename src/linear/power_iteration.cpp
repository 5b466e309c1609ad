#include "linear/power_iteration.h"

#include <cmath>
#include <limits>

#include "matrix/matrix_routines.h"

namespace koravin {
namespace {

constexpr int kRounds = 30;

// B = MᵀM, each entry summed from 0 in increasing row c of M. B(i, j) and B(j, i) are sums of
// the same products in the same order, so B is exactly symmetric.
Matrix ProductWithTranspose(const Matrix& m, int n) {
    Matrix b(n, n);
    for (int c = 1; c <= n; ++c) {
        const double* rowC = m.row(c);
        for (int i = 1; i <= n; ++i) {
            const double mci = rowC[i - 1];
            double* rowI = b.row(i);
            for (int j = 0; j < n; ++j) rowI[j] = rowI[j] + mci * rowC[j];
        }
    }
    return b;
}

}  // namespace

double PowerIterationTwoNorm(const Matrix& m, int n) {
    const Matrix b = ProductWithTranspose(m, n);
    Vector x(1, n);
    Vector y(1, n);
    double* xs = &x(1);
    double* ys = &y(1);
    for (int i = 0; i < n; ++i) xs[i] = 1;
    float largest = 0;
    for (int step = 1; step <= kRounds * n; ++step) {
        // y(i) = Σ B(i, j)·x(j) in increasing j for every i at once: column j of B is its row j,
        // and each y(i) still receives its terms from 0 in increasing j.
        for (int i = 0; i < n; ++i) ys[i] = 0;
        for (int j = 1; j <= n; ++j) {
            const double* columnJ = b.row(j);
            const double xj = xs[j - 1];
            for (int i = 0; i < n; ++i) ys[i] = ys[i] + columnJ[i] * xj;
        }
        largest = LargestMagnitudeEntry(y, n);
        // An estimate beyond single precision's range would divide x down to zeros and leave a
        // reference value of 0 for a very large matrix: the norm is reported as infinite instead.
        if (std::isinf(largest)) return std::numeric_limits<double>::infinity();
        // Dividing by zero fails and is skipped: x keeps its entries.
        if (largest != 0) {
            for (int i = 0; i < n; ++i) xs[i] = ys[i] / largest;
        }
    }
    // The estimate is the last product's largest entry: a test between steps for a settled
    // estimate never ends the iteration early.
    const double lambda = largest;
    return lambda < 0 ? 0.0 : std::sqrt(lambda);
}

}  // namespace koravin
