#include "checks/iteration_eigenvalues.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <Eigen/Eigenvalues>

#include "steps/stop_request.h"

namespace koravin {
namespace {

using Eigen::Index;
using Complex = std::complex<double>;

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// An eigenvector component beyond this means the eigenvectors are parallel to working precision.
constexpr double kHugeComponent = 1e150;

// The strongly connected parts of the pattern i → j for B(i, j) ≠ 0 (i ≠ j), listed so that
// every coupling goes from a part to itself or to a later part. Tarjan's algorithm finds a part
// only after every part it reaches, so the list is reversed at the end; its depth-first search
// keeps its own stack, as a chain of couplings may be as long as the order.
std::vector<std::vector<Index>> ConnectedParts(const Eigen::MatrixXd& b) {
    const auto n = static_cast<std::size_t>(b.rows());
    constexpr Index kUnvisited = -1;
    std::vector<Index> order(n, kUnvisited);  // when the search reached each unknown
    std::vector<Index> low(n, 0);             // the earliest unknown on the stack it reaches
    std::vector<bool> onStack(n, false);
    std::vector<Index> stack;
    std::vector<std::vector<Index>> parts;
    Index reached = 0;
    struct Visit {
        Index v;
        Index next;  // the next column of row v to look at
    };
    std::vector<Visit> path;
    for (Index root = 0; root < b.rows(); ++root) {
        if (order[static_cast<std::size_t>(root)] != kUnvisited) continue;
        path.push_back({root, 0});
        while (!path.empty()) {
            const Index vertex = path.back().v;
            const auto v = static_cast<std::size_t>(vertex);
            if (path.back().next == 0) {
                order[v] = low[v] = reached++;
                stack.push_back(vertex);
                onStack[v] = true;
            }
            // The next coupling of v to an unknown not yet reached, if any, is followed.
            std::optional<Index> child;
            while (!child && path.back().next < b.cols()) {
                const Index w = path.back().next++;
                const auto to = static_cast<std::size_t>(w);
                if (w == vertex || b(vertex, w) == 0.0) continue;
                if (order[to] == kUnvisited) {
                    child = w;
                } else if (onStack[to]) {
                    low[v] = std::min(low[v], order[to]);
                }
            }
            if (child) {
                path.push_back({*child, 0});
                continue;
            }
            if (low[v] == order[v]) {
                std::vector<Index> part;
                Index w;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[static_cast<std::size_t>(w)] = false;
                    part.push_back(w);
                } while (w != vertex);
                std::sort(part.begin(), part.end());
                parts.push_back(std::move(part));
            }
            path.pop_back();
            if (!path.empty()) {
                const auto parent = static_cast<std::size_t>(path.back().v);
                low[parent] = std::min(low[parent], low[v]);
            }
        }
    }
    std::reverse(parts.begin(), parts.end());
    return parts;
}

// Parlett and Reinsch's balancing: row i is divided and column i multiplied by a power of two
// chosen to bring the sums of their entries off the diagonal together, until no scaling shrinks
// a row and column pair by 5 %. Exact in binary: the eigenvalues and the zero pattern stay as
// they were, and the norm falls, so the Schur iteration's rounding (relative to the norm) falls
// with it. A row or column with nothing off the diagonal is left alone.
void Balance(Eigen::MatrixXd& m) {
    constexpr double kRadix = 2;
    constexpr int kMostPasses = 100;
    bool converged = false;
    for (int pass = 0; !converged && pass < kMostPasses; ++pass) {
        converged = true;
        for (Index i = 0; i < m.rows(); ++i) {
            double column = m.col(i).cwiseAbs().sum() - std::fabs(m(i, i));
            const double row = m.row(i).cwiseAbs().sum() - std::fabs(m(i, i));
            // Sums that overflow say nothing about how to scale.
            if (column == 0 || row == 0 || !std::isfinite(column + row)) continue;
            const double sum = column + row;
            double f = 1;
            while (column < row / kRadix) {
                f *= kRadix;
                column *= kRadix * kRadix;
            }
            while (column >= row * kRadix) {
                f /= kRadix;
                column /= kRadix * kRadix;
            }
            if ((column + row) / f >= 0.95 * sum) continue;
            converged = false;
            m.row(i) /= f;
            m.col(i) *= f;
        }
    }
}

// Every product of entries along a chain of couplings vanishes after the longest chain: for a
// strictly upper triangular m, one more than the longest path in its pattern.
int NilpotencyBound(const Eigen::MatrixXd& m) {
    const Index n = m.rows();
    std::vector<int> longest(static_cast<std::size_t>(n), 0);
    int bound = 0;
    for (Index i = n - 1; i >= 0; --i) {
        for (Index j = i + 1; j < n; ++j) {
            if (m(i, j) != 0.0) {
                longest[static_cast<std::size_t>(i)] =
                    std::max(longest[static_cast<std::size_t>(i)], longest[static_cast<std::size_t>(j)] + 1);
            }
        }
        bound = std::max(bound, longest[static_cast<std::size_t>(i)]);
    }
    return bound + 1;
}

// A real quasi-triangular m made upper triangular over the complex numbers: each 2 x 2 block
// of a complex pair is turned by the unitary G whose first column is its eigenvector.
Eigen::Matrix<Complex, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> ComplexTriangular(const Eigen::MatrixXd& m) {
    const Index n = m.rows();
    Eigen::Matrix<Complex, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> t = m.cast<Complex>();
    for (Index k = 0; k + 1 < n; ++k) {
        if (m(k + 1, k) == 0.0) continue;
        const double a = m(k, k), b = m(k, k + 1), c = m(k + 1, k), d = m(k + 1, k + 1);
        const double half = (a - d) / 2;
        const Complex lambda((a + d) / 2, std::sqrt(std::max(0.0, -(half * half + b * c))));
        Eigen::Vector2cd v(b, lambda - a);
        v.normalize();
        Eigen::Matrix2cd g;
        g << v(0), -std::conj(v(1)), v(1), std::conj(v(0));
        t.block(0, k, k + 2, 2) = t.block(0, k, k + 2, 2) * g;
        t.block(k, k, 2, n - k) = g.adjoint() * t.block(k, k, 2, n - k);
        t(k + 1, k) = 0;
        ++k;
    }
    return t;
}

}  // namespace

std::optional<IterationEigenvalues> IterationEigenvalues::Of(const Eigen::MatrixXd& b) {
    const Index n = b.rows();
    if (n < 1 || b.cols() != n || !b.allFinite()) return std::nullopt;
    const std::vector<std::vector<Index>> parts = ConnectedParts(b);

    std::vector<Index> order;
    for (const auto& part : parts) order.insert(order.end(), part.begin(), part.end());
    Eigen::MatrixXd m(n, n);
    for (Index i = 0; i < n; ++i) {
        for (Index j = 0; j < n; ++j) m(i, j) = b(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
    }
    Balance(m);
    BetweenSteps();

    IterationEigenvalues spectrum;
    spectrum.triangular_ = static_cast<Index>(parts.size()) == n;
    // With other blocks beside it, a block's Schur vectors turn its couplings too.
    const bool turnCouplings = parts.size() > 1;
    Index first = 0;
    for (const auto& part : parts) {
        const auto size = static_cast<Index>(part.size());
        if (size > 1) {
            const Eigen::RealSchur<Eigen::MatrixXd> schur(m.block(first, first, size, size), turnCouplings);
            if (schur.info() != Eigen::Success) return std::nullopt;
            if (turnCouplings) {
                const Eigen::MatrixXd& q = schur.matrixU();
                const Index after = first + size;
                m.block(first, after, size, n - after) = q.transpose() * m.block(first, after, size, n - after);
                m.block(0, first, first, size) = m.block(0, first, first, size) * q;
            }
            m.block(first, first, size, size) = schur.matrixT();
            for (Index j = 0; j < size; ++j) {
                for (Index i = j + 2; i < size; ++i) m(first + i, first + j) = 0;
            }
            BetweenSteps();
        }
        const double norm = m.block(first, first, size, size).norm();
        for (Index k = 0; k < size; ++k) {
            spectrum.blockFirst_.push_back(static_cast<std::size_t>(first));
            spectrum.blockLast_.push_back(static_cast<std::size_t>(first + size));
            spectrum.blockNorm_.push_back(norm);
        }
        first += size;
    }

    spectrum.t_ = ComplexTriangular(m);
    spectrum.conjugateOfPrevious_.assign(static_cast<std::size_t>(n), false);
    spectrum.conditions_.assign(static_cast<std::size_t>(n), std::numeric_limits<double>::quiet_NaN());
    for (Index k = 0; k + 1 < n; ++k) {
        if (m(k + 1, k) != 0.0) spectrum.conjugateOfPrevious_[static_cast<std::size_t>(k + 1)] = true;
    }
    for (Index k = 0; k < n; ++k) {
        // A 1 x 1 block keeps the entry itself; the rotation of a pair only makes its eigenvalues.
        const auto at = static_cast<std::size_t>(k);
        const bool single = spectrum.blockLast_[at] - spectrum.blockFirst_[at] == 1;
        spectrum.eigenvalues_.push_back(single ? Complex(m(k, k)) : spectrum.t_(k, k));
        spectrum.radius_ = std::max(spectrum.radius_, std::abs(spectrum.eigenvalues_.back()));
    }
    if (spectrum.triangular_ && spectrum.radius_ == 0) spectrum.nilpotencyBound_ = NilpotencyBound(m);
    return spectrum;
}

double IterationEigenvalues::conditionWithin(std::size_t k, std::size_t first, std::size_t last) const {
    const auto at = static_cast<Index>(k);
    const auto begin = static_cast<Index>(first);
    const auto end = static_cast<Index>(last);
    const Complex lambda = t_(at, at);
    // A divisor below rounding is one an eigenvalue of the same value, perturbed by rounding,
    // could have given: it is raised to that size rather than let the quotient overflow.
    const double smallest = std::max(kEpsilon * t_.block(begin, begin, end - begin, end - begin).norm(),
                                     std::numeric_limits<double>::min());
    const auto divide = [&](Complex numerator, Index i) {
        Complex divisor = t_(i, i) - lambda;
        if (std::abs(divisor) < smallest) divisor = smallest;
        return -numerator / divisor;
    };

    // Right: (T - λI)x = 0 with x_k = 1 and x_i = 0 after k, by back substitution.
    Eigen::VectorXcd x = Eigen::VectorXcd::Zero(at - begin + 1);
    x(at - begin) = 1;
    for (Index i = at - 1; i >= begin; --i) {
        const Complex sum = t_.row(i).segment(i + 1, at - i).transpose().cwiseProduct(x.segment(i + 1 - begin, at - i)).sum();
        x(i - begin) = divide(sum, i);
        if (!(std::abs(x(i - begin)) <= kHugeComponent)) return std::numeric_limits<double>::infinity();
    }
    // Left: yᴴ(T - λI) = 0 with y_k = 1 and y_i = 0 before k, column by column; sums[j] gathers
    // the terms of column j from the rows already known.
    Eigen::RowVectorXcd y = Eigen::RowVectorXcd::Zero(end - at);
    y(0) = 1;
    Eigen::RowVectorXcd sums = t_.row(at).segment(at, end - at);
    for (Index j = at + 1; j < end; ++j) {
        y(j - at) = divide(sums(j - at), j);
        if (!(std::abs(y(j - at)) <= kHugeComponent)) return std::numeric_limits<double>::infinity();
        sums.segment(j - at + 1, end - j - 1) += y(j - at) * t_.row(j).segment(j + 1, end - j - 1);
    }
    // yᴴx = y_k·x_k = 1: every other term has a zero factor.
    return x.norm() * y.norm();
}

double IterationEigenvalues::condition(std::size_t k) const {
    // The eigenvectors of λ̄ are the conjugates of λ's in a real B.
    if (conjugateOfPrevious_[k]) return condition(k - 1);
    if (std::isnan(conditions_[k])) conditions_[k] = conditionWithin(k, 0, size());
    return conditions_[k];
}

double IterationEigenvalues::uncertainty(std::size_t k) const {
    if (blockLast_[k] - blockFirst_[k] == 1) return kEpsilon * std::abs(eigenvalues_[k]);
    const bool whole = blockFirst_[k] == 0 && blockLast_[k] == size();
    const std::size_t first = conjugateOfPrevious_[k] ? k - 1 : k;
    const double condition = whole ? this->condition(first) : conditionWithin(first, blockFirst_[k], blockLast_[k]);
    return condition * kEpsilon * blockNorm_[k];
}

}  // namespace koravin
