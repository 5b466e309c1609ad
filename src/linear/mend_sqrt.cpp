#include <algorithm>
#include <string>
#include <vector>

#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/report.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {

std::optional<RootFreeFactors> RootFreeDecomposition(const Matrix& a) {
    const int n = a.rows();
    // lColumns(j, i) is L(i, j). Computing column by column gives every entry from the same
    // sums as row by row, and meets the zero tests on D in the same order.
    Matrix lColumns(n, n);
    Vector d(1, n);
    std::vector<double> sums(static_cast<std::size_t>(n) + 1);
    for (int j = 1; j <= n; ++j) {
        BetweenSteps();
        double sum = 0.0;
        for (int k = 1; k < j; ++k) {
            const double ljk = lColumns(k, j);
            sum = sum + ljk * ljk * d(k);
        }
        d(j) = a(j, j) - sum;
        // D(n) is never divided by here: the back substitution tests it first.
        if (j == n) break;
        if (IsZeroPivot(d(j))) return std::nullopt;
        std::fill(sums.begin() + j + 1, sums.end(), 0.0);
        for (int k = 1; k < j; ++k) {
            const double dk = d(k);
            const double ljk = lColumns(k, j);
            const double* lk = lColumns.row(k);
            for (int i = j + 1; i <= n; ++i) sums[i] = sums[i] + lk[i - 1] * dk * ljk;
        }
        for (int i = j + 1; i <= n; ++i) lColumns(j, i) = (a(i, j) - sums[i]) / d(j);
    }
    Matrix l = Transposed(lColumns);
    for (int i = 1; i <= n; ++i) l(i, i) = 1.0;
    return RootFreeFactors{std::move(l), std::move(d)};
}

std::optional<TriangularReport> MendSqrtReport(const Matrix& augmented, int digits) {
    const int n = augmented.rows();
    const std::optional<RootFreeFactors> factors = RootFreeDecomposition(augmented);
    if (!factors) return std::nullopt;
    const Matrix& l = factors->l;
    const Vector& d = factors->d;
    const Vector b = RightHandSide(augmented);
    const Vector y = ForwardSubstitution(l, b, Diagonal::Unit);
    // D·LᵀX = Y: x(i) = y(i)/D(i) - sum over k > i of L(k,i)·x(k).
    Vector x(1, n);
    for (int i = n; i >= 1; --i) {
        double sum = 0.0;
        for (int k = i + 1; k <= n; ++k) sum = sum + l(k, i) * x(k);
        if (IsZeroPivot(d(i))) return std::nullopt;
        x(i) = y(i) / d(i) - sum;
    }

    std::string report;
    AppendMatrixRows(report, augmented, n, n + 1, kFourSpaces, std::nullopt);
    AppendHeading(report, "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b");
    AppendMatrixRows(report, augmented, n, n, kFiveSpaces, std::nullopt);
    report += kLineEnd;
    AppendVectorLine(report, b, kFiveSpaces, std::nullopt);
    AppendHeading(report, "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)");
    AppendMatrixRows(report, l, n, n, kFiveSpaces, digits + 1);
    report += "接下来输出分解式A=L*D*L' 中D的主对角线元素：";
    report += kLineEnd;
    AppendVectorLine(report, d, kFiveSpaces, digits + 1);
    // Y here gets the same places as the solution.
    AppendHeading(report, "输出求解LY=b后的 Y(n)");
    AppendLabelledLines(report, "y", y, digits, LabelLineEnd::Before);
    AppendHeading(report, "输出求解UX=Y后的 X，亦既方程组的解：");
    AppendLabelledLines(report, "x", x, digits, LabelLineEnd::After);
    report += kLineEnd;
    report += "改进的平方根法解线性方程组";
    report += kLineEnd;
    report += "注意：本方法仅对未知数x的系数矩阵是对称矩阵时有效。";
    return TriangularReport{std::move(report), x};
}

void MendSqrt(CommandContext& context) {
    RunTriangularCommand(context, {.prompt = {"输入数组的阶数 n：", "", ""},
                                   .emptyPaneBeforePrompt = false,
                                   .arrays = 9,
                                   .method = MendSqrtReport,
                                   .zeroPivotMessage = "此方法不合适#"});
}

}  // namespace koravin
