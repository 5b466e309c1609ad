#include "linear/gauss_family.h"

#include <numeric>

#include "matrix/matrix_text.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

Matrix ReadSystem(std::string_view editorText, int n) {
    Matrix a(n, n + 1);
    ReadAugmentedMatrix(TrimBlanks(editorText), n, a);
    return a;
}

Vector BackSubstitute(const Matrix& w, int n, const FixedRounding& round) {
    Vector x(1, n);
    x(n) = w(n, n + 1) / w(n, n);
    for (int i = n - 1; i >= 1; --i) {
        const double* row = w.row(i);
        double s = 0;
        // From the last unknown down, as the sum is accumulated by hand.
        for (int j = n; j >= i + 1; --j) s = x(j) * row[j - 1] + s;
        x(i) = round((row[n] - s) / row[i - 1]);
    }
    return x;
}

std::string GaussReport(const Matrix& a, const Matrix& w, const Vector& x, std::span<const int> unknowns,
                        int digits, const GaussReportTexts& texts) {
    const int n = a.rows();
    std::string report;
    AppendMatrixRows(report, a, n, n + 1, "  ", std::nullopt);
    AppendHeading(report, texts.reducedHeading);
    AppendMatrixRows(report, w, n, n + 1, "  ", digits);
    AppendHeading(report, texts.solutionHeading);
    for (int i = 1; i <= n; ++i) {
        report += "x(";
        report += IndexText(unknowns[static_cast<std::size_t>(i - 1)]);
        report += ")=";
        report += NumberText(RoundDigits(x(i), digits));
        report += kLineEnd;
    }
    report += kLineEnd;
    report += texts.title;
    if (texts.lineEndAfterTitle) report += kLineEnd;
    return report;
}

std::vector<int> TypedOrder(int n) {
    std::vector<int> unknowns(static_cast<std::size_t>(n));
    std::iota(unknowns.begin(), unknowns.end(), 1);
    return unknowns;
}

}  // namespace koravin
