#include "reference/triangular_reference.h"

#include <cmath>
#include <utility>

namespace koravin::reference {
namespace {

bool IsZeroOrNaN(double value) { return value == 0.0 || std::isnan(value); }

void ExchangeRows(Matrix& m, int r1, int r2, int lastColumn) {
    for (int j = 1; j <= lastColumn; ++j) std::swap(m(r1, j), m(r2, j));
}

}  // namespace

std::optional<LowerUpper> Doolittle(const Matrix& a) {
    const int n = a.rows();
    Matrix l(n, n), u(n, n);
    for (int i = 1; i <= n; ++i) l(i, i) = 1.0;
    for (int k = 1; k <= n; ++k) {
        for (int j = k; j <= n; ++j) {
            double s = 0.0;
            for (int r = 1; r <= k - 1; ++r) s = s + l(k, r) * u(r, j);
            u(k, j) = a(k, j) - s;
        }
        for (int i = k + 1; i <= n; ++i) {
            double s = 0.0;
            for (int r = 1; r <= k - 1; ++r) s = s + l(i, r) * u(r, k);
            if (IsZeroOrNaN(u(k, k))) return std::nullopt;
            l(i, k) = (a(i, k) - s) / u(k, k);
        }
    }
    return LowerUpper{std::move(l), std::move(u)};
}

PivotedLowerUpper ColumnPivot(const Matrix& augmented) {
    const int n = augmented.rows();
    Matrix w = augmented;
    Matrix l(n, n), u(n, n);
    for (int k = 1; k <= n - 1; ++k) {
        Vector s(k, n);
        for (int i = k; i <= n; ++i) {
            double sum = 0.0;
            for (int r = 1; r <= k - 1; ++r) sum = sum + l(i, r) * u(r, k);
            s(i) = w(i, k) - sum;
        }
        int p = k;
        double best = s(k);
        for (int i = k + 1; i <= n; ++i) {
            if (s(i) > best) {
                p = i;
                best = s(i);
            }
        }
        ExchangeRows(w, k, p, n + 1);
        ExchangeRows(l, k, p, n);
        ExchangeRows(u, k, p, n);
        for (int i = 1; i <= n; ++i) {
            l(i, i) = 1.0;
            for (int j = i + 1; j <= n; ++j) l(i, j) = 0.0;
        }
        u(k, k) = s(p);
        w(k, k) = s(p);
        l(p, k) = s(k) / s(p);
        for (int j = k + 1; j <= n; ++j) {
            if (j != p) l(j, k) = s(j) / s(p);
            double sum = 0.0;
            for (int r = 1; r <= k - 1; ++r) sum = sum + l(k, r) * u(r, j);
            u(k, j) = w(k, j) - sum;
        }
        for (int j = k + 1; j <= n; ++j) w(k, j) = u(k, j);
        for (int i = k + 1; i <= n; ++i) w(i, k) = l(i, k);
    }
    double sum = 0.0;
    for (int r = 1; r <= n - 1; ++r) sum = sum + l(n, r) * u(r, n);
    u(n, n) = w(n, n) - sum;
    return {std::move(w), std::move(l), std::move(u)};
}

Matrix SquareRoot(const Matrix& a) {
    const int n = a.rows();
    Matrix l(n, n);
    if (a(1, 1) >= 0.0 || std::isnan(a(1, 1))) l(1, 1) = std::sqrt(a(1, 1));
    for (int i = 2; i <= n; ++i) l(i, 1) = a(i, 1) / l(1, 1);
    for (int j = 2; j <= n; ++j) {
        double s = 0.0;
        for (int k = 1; k <= j - 1; ++k) s = s + l(j, k) * l(j, k);
        const double radicand = a(j, j) - s;
        if (radicand >= 0.0 || std::isnan(radicand)) l(j, j) = std::sqrt(radicand);
        for (int i = j + 1; i <= n; ++i) {
            double t = 0.0;
            for (int k = 1; k <= j - 1; ++k) t = t + l(i, k) * l(j, k);
            l(i, j) = (a(i, j) - t) / l(j, j);
        }
    }
    return l;
}

std::optional<LowerDiagonal> RootFree(const Matrix& a) {
    const int n = a.rows();
    Matrix l(n, n);
    Vector d(1, n);
    for (int i = 1; i <= n; ++i) l(i, i) = 1.0;
    d(1) = a(1, 1);
    for (int i = 2; i <= n; ++i) {
        for (int j = 1; j <= i - 1; ++j) {
            double s = 0.0;
            for (int k = 1; k <= j - 1; ++k) s = s + l(i, k) * d(k) * l(j, k);
            if (IsZeroOrNaN(d(j))) return std::nullopt;
            l(i, j) = (a(i, j) - s) / d(j);
        }
        double s = 0.0;
        for (int k = 1; k <= i - 1; ++k) s = s + l(i, k) * l(i, k) * d(k);
        d(i) = a(i, i) - s;
    }
    return LowerDiagonal{std::move(l), std::move(d)};
}

}  // namespace koravin::reference
