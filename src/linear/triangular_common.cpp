#include "linear/triangular_common.h"

#include <algorithm>
#include <vector>

#include "linear/check_facts.h"
#include "linear/linear_input.h"
#include "matrix/matrix_text.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {

void RunTriangularCommand(CommandContext& context, const TriangularCommand& command) {
    if (command.emptyPaneBeforePrompt) context.result.clear();
    // An empty reply, Cancel and text without a leading number all read as the order 0.
    const int n = OrderFromReply(context.user.ask(command.prompt));
    if (n <= 0) return;
    if (!OrderFitsInMemory(context.user, n, command.arrays)) return;
    context.result.clear();
    Matrix augmented(n, n + 1);
    ReadAugmentedMatrix(TrimBlanks(context.editorText), n, augmented);
    const std::optional<TriangularReport> report = command.method(augmented, context.decimalDigits);
    if (!report) {
        context.user.tell(command.zeroPivotMessage);
        return;
    }
    if (context.facts != nullptr && report->solution.size() > 0) {
        const Matrix& solved = report->solvedSystem ? *report->solvedSystem : augmented;
        RecordSolvedSystem(context, solved, report->solution, context.decimalDigits);
    }
    context.result.append(report->text);
}

void SumsDownColumn(const Matrix& lColumns, const Matrix& u, int k, int first, std::vector<double>& sums) {
    BetweenSteps();
    const int n = u.cols();
    std::fill(sums.begin() + first, sums.begin() + n + 1, 0.0);
    for (int r = 1; r < k; ++r) {
        const double urk = u(r, k);
        const double* lr = lColumns.row(r);
        for (int i = first; i <= n; ++i) sums[i] = sums[i] + lr[i - 1] * urk;
    }
}

void SumsAlongRow(const Matrix& lColumns, const Matrix& u, int k, int first, std::vector<double>& sums) {
    BetweenSteps();
    const int n = u.cols();
    std::fill(sums.begin() + first, sums.begin() + n + 1, 0.0);
    for (int r = 1; r < k; ++r) {
        const double lkr = lColumns(r, k);
        const double* ur = u.row(r);
        for (int j = first; j <= n; ++j) sums[j] = sums[j] + lkr * ur[j - 1];
    }
}

std::optional<TriangularFactors> DoolittleDecomposition(const Matrix& a) {
    const int n = a.rows();
    Matrix u(n, n);
    Matrix lColumns(n, n);
    std::vector<double> sums(static_cast<std::size_t>(n) + 1);
    for (int k = 1; k <= n; ++k) {
        SumsAlongRow(lColumns, u, k, k, sums);
        for (int j = k; j <= n; ++j) u(k, j) = a(k, j) - sums[j];
        if (k == n) break;
        SumsDownColumn(lColumns, u, k, k + 1, sums);
        const double pivot = u(k, k);
        if (IsZeroPivot(pivot)) return std::nullopt;
        for (int i = k + 1; i <= n; ++i) lColumns(k, i) = (a(i, k) - sums[i]) / pivot;
    }
    Matrix l = Transposed(lColumns);
    for (int i = 1; i <= n; ++i) l(i, i) = 1.0;
    return TriangularFactors{std::move(l), std::move(u)};
}

Vector RightHandSide(const Matrix& augmented) {
    const int n = augmented.rows();
    Vector b(1, n);
    for (int i = 1; i <= n; ++i) b(i) = augmented(i, n + 1);
    return b;
}

Vector ForwardSubstitution(const Matrix& l, const Vector& b, Diagonal diagonal) {
    const int n = b.size();
    Vector y(1, n);
    for (int i = 1; i <= n; ++i) {
        const double* li = l.row(i);
        double sum = 0.0;
        for (int r = 1; r < i; ++r) sum = sum + li[r - 1] * y(r);
        y(i) = diagonal == Diagonal::Unit ? b(i) - sum : (b(i) - sum) / li[i - 1];
    }
    return y;
}

std::optional<Vector> BackSubstitution(const Matrix& u, const Vector& y, ZeroPivots zeroPivots) {
    const int n = y.size();
    Vector x(1, n);
    for (int i = n; i >= 1; --i) {
        const double* ui = u.row(i);
        double sum = 0.0;
        for (int r = i + 1; r <= n; ++r) sum = sum + ui[r - 1] * x(r);
        if (zeroPivots == ZeroPivots::StopAtZeroPivot && IsZeroPivot(ui[i - 1])) return std::nullopt;
        x(i) = (y(i) - sum) / ui[i - 1];
    }
    return x;
}

Matrix Transposed(const Matrix& m) {
    const int n = m.rows();
    Matrix t(n, n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) t(j, i) = m(i, j);
    }
    return t;
}

void AppendNumber(std::string& report, double value, std::optional<int> places) {
    report += NumberText(places ? RoundDigits(value, *places) : value);
}

void AppendSpacedRows(std::string& report, const Matrix& m, int cols, std::string_view separator,
                      std::optional<int> places) {
    for (int i = 1; i <= m.rows(); ++i) {
        for (int j = 1; j <= cols; ++j) {
            report += separator;
            AppendNumber(report, m(i, j), places);
        }
        report += kLineEnd;
        report += kLineEnd;
    }
}

void AppendVectorLine(std::string& report, const Vector& v, std::string_view separator, std::optional<int> places) {
    for (int i = 1; i <= v.size(); ++i) {
        report += separator;
        AppendNumber(report, v(i), places);
    }
}

void AppendLabelledLines(std::string& report, std::string_view letter, const Vector& v, std::optional<int> places,
                         LabelLineEnd lineEnd) {
    for (int i = 1; i <= v.size(); ++i) {
        if (lineEnd == LabelLineEnd::Before) report += kLineEnd;
        report += letter;
        report += '(';
        report += IndexText(i);
        report += ")=";
        AppendNumber(report, v(i), places);
        if (lineEnd == LabelLineEnd::After) report += kLineEnd;
    }
}

}  // namespace koravin
