#include "reference/gauss_reference.h"

#include <cmath>
#include <utility>

#include "numbers/number_conversions.h"

namespace koravin::reference {

void PlainElimination(Matrix& w, int places, bool pivoting) {
    const int n = w.rows();
    for (int k = 1; k <= n; ++k) {
        if (pivoting) {
            int p = k;
            for (int i = k + 1; i <= n; ++i) {
                if (std::fabs(w(p, k)) < std::fabs(w(i, k))) p = i;
            }
            for (int j = k; j <= w.cols() && p != k; ++j) std::swap(w(k, j), w(p, j));
        }
        for (int i = k + 1; i <= n; ++i) {
            const double m = w(i, k) / w(k, k);
            for (int j = k; j <= w.cols(); ++j) w(i, j) = RoundDigits(w(i, j) - m * w(k, j), places);
        }
    }
}

}  // namespace koravin::reference
