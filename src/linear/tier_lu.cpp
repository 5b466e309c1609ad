#include <string>
#include <vector>

#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/matrix_routines.h"
#include "matrix/report.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

// Row i of L back to unit lower triangular shape: 1 on the diagonal, 0 to its right. L is held
// by its columns, lColumns(r, i) = L(i, r).
void RestoreUnitRow(Matrix& lColumns, int i) {
    lColumns(i, i) = 1.0;
    for (int j = i + 1; j <= lColumns.rows(); ++j) lColumns(j, i) = 0.0;
}

}  // namespace

PivotedFactors ColumnPivotDecomposition(const Matrix& augmented) {
    const int n = augmented.rows();
    Matrix w = augmented;
    Matrix lColumns(n, n);
    Matrix u(n, n);
    std::vector<double> sums(static_cast<std::size_t>(n) + 1);
    for (int k = 1; k < n; ++k) {
        SumsDownColumn(lColumns, u, k, k, sums);
        Vector candidates(k, n);
        for (int i = k; i <= n; ++i) candidates(i) = w(i, k) - sums[i];
        // The largest candidate by its signed value, not by magnitude.
        const int p = IndexOfLargest(candidates);
        SwapRows(w, k, p, n + 1);
        SwapColumns(lColumns, k, p, n);
        SwapRows(u, k, p, n);
        // The exchange moves unit diagonal entries out of place, and the previous step may have
        // written S/S over its own diagonal entry; every other row is still in shape.
        if (k == 1) {
            for (int i = 1; i <= n; ++i) RestoreUnitRow(lColumns, i);
        } else {
            RestoreUnitRow(lColumns, k - 1);
            RestoreUnitRow(lColumns, k);
            RestoreUnitRow(lColumns, p);
        }
        const double pivot = candidates(p);
        u(k, k) = pivot;
        w(k, k) = pivot;
        // Candidates are not exchanged: candidates(k) belongs to the row that now sits at p.
        lColumns(k, p) = candidates(k) / pivot;
        for (int j = k + 1; j <= n; ++j) {
            if (j != p) lColumns(k, j) = candidates(j) / pivot;
        }
        SumsAlongRow(lColumns, u, k, k + 1, sums);
        for (int j = k + 1; j <= n; ++j) u(k, j) = w(k, j) - sums[j];
        for (int j = k + 1; j <= n; ++j) w(k, j) = u(k, j);
        for (int i = k + 1; i <= n; ++i) w(i, k) = lColumns(k, i);
    }
    // W(n,n) keeps the entry as read; U(n,n) is shown only in U. For n = 1 L stays 0.
    SumsAlongRow(lColumns, u, n, n, sums);
    u(n, n) = w(n, n) - sums[n];
    return {std::move(w), Transposed(lColumns), std::move(u)};
}

std::optional<TriangularReport> TierLuReport(const Matrix& augmented, int digits) {
    const int n = augmented.rows();
    const PivotedFactors factors = ColumnPivotDecomposition(augmented);
    const Vector b = RightHandSide(factors.w);
    const Vector y = ForwardSubstitution(factors.l, b, Diagonal::Unit);
    const std::optional<Vector> x = BackSubstitution(factors.u, y, ZeroPivots::StopAtZeroPivot);
    if (!x) return std::nullopt;

    std::string report;
    AppendMatrixRows(report, augmented, n, n + 1, kFourSpaces, std::nullopt);
    AppendHeading(report, "以上是方程组的增广矩阵");
    report += "接下来输出方程组的计算后的系数矩阵A、方程组的常数项向量b：";
    report += kLineEnd;
    AppendMatrixRows(report, factors.w, n, n, kFourSpaces, digits);
    report += kLineEnd;
    AppendVectorLine(report, b, kFourSpaces, std::nullopt);
    AppendHeading(report, "输出方程组的系数矩阵列主元三角分解后的下三角矩阵L(n)");
    AppendMatrixRows(report, factors.l, n, n, kFourSpaces, digits);
    AppendHeading(report, "输出方程组的系数矩阵列主元三角分解后的上三角矩阵U(n)");
    AppendSpacedRows(report, factors.u, n, kFiveSpaces, digits);
    AppendHeading(report, "输出求解LY=b后的 Y(n)");
    AppendLabelledLines(report, "y", y, digits, LabelLineEnd::After);
    AppendHeading(report, "输出求解UX=Y后的 X(n)，亦既方程组的解：");
    AppendLabelledLines(report, "x", *x, digits, LabelLineEnd::After);
    report += kLineEnd;
    report += "列主元三角分解法解线性方程组";
    return TriangularReport{std::move(report), *x};
}

void TierLU(CommandContext& context) {
    RunTriangularCommand(context, {.prompt = {"输入方程组系数矩阵的阶数 n：", "", ""},
                                   .emptyPaneBeforePrompt = false,
                                   .arrays = 13,
                                   .method = TierLuReport,
                                   .zeroPivotMessage = "此方法不合适#"});
}

}  // namespace koravin
