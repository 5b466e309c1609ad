#include "linear/power_iteration.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "matrix/matrix_routines.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

constexpr int kRounds = 30;

// B = MᵀM, each entry summed from 0 in increasing row c of M. B(i, j) and B(j, i) are sums of
// the same products in the same order, so B is exactly symmetric. A zero M(c, i) of a finite row adds only zeros to row i of B, and a sum that starts at +0
// never becomes -0, so such terms are left out: an order far beyond the typed rows and columns
// then costs little.
Matrix ProductWithTranspose(const Matrix& m, int n) {
    Matrix b(n, n);
    for (int c = 1; c <= n; ++c) {
        BetweenSteps();
        const double* rowC = m.row(c);
        const bool finiteRow = std::all_of(rowC, rowC + n, [](double v) { return std::isfinite(v); });
        for (int i = 1; i <= n; ++i) {
            const double mci = rowC[i - 1];
            if (mci == 0 && finiteRow) continue;
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
    std::vector<char> zeroColumn(static_cast<std::size_t>(n) + 1);
    for (int j = 1; j <= n; ++j) zeroColumn[j] = std::all_of(b.row(j), b.row(j) + n, [](double v) { return v == 0; });
    std::vector<double> previousX(xs, xs + n);
    float largest = 0;
    for (int step = 1; step <= kRounds * n; ++step) {
        BetweenSteps();
        // y(i) = Σ B(i, j)·x(j) in increasing j for every i at once: column j of B is its row j,
        // and each y(i) still receives its terms from 0 in increasing j. A zero column times a
        // finite x(j) adds only zeros and is left out.
        for (int i = 0; i < n; ++i) ys[i] = 0;
        for (int j = 1; j <= n; ++j) {
            const double xj = xs[j - 1];
            if (zeroColumn[j] && std::isfinite(xj)) continue;
            const double* columnJ = b.row(j);
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
        // A step that gives back its own x bit for bit is repeated unchanged by every later
        // step, estimate included: the remaining steps can be skipped.
        if (std::memcmp(xs, previousX.data(), static_cast<std::size_t>(n) * sizeof(double)) == 0) break;
        std::copy(xs, xs + n, previousX.begin());
    }
    // The estimate is the last product's largest entry; comparing successive estimates changes
    // nothing.
    const double lambda = largest;
    return lambda < 0 ? 0.0 : std::sqrt(lambda);
}

}  // namespace koravin
