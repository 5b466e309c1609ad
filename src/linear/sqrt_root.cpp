#include <cmath>
#include <string>
#include <vector>

#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/report.h"
#include "numbers/text_utilities.h"

namespace koravin {

// Column by column. Nothing is tested: the divisions by a zero diagonal entry carry Inf and
// NaN into the report.
Matrix SquareRootFactor(const Matrix& a) {
    const int n = a.rows();
    // lColumns(j, i) is L(i, j): the sums for a whole column run along memory.
    Matrix lColumns(n, n);
    std::vector<double> sums(static_cast<std::size_t>(n) + 1);
    for (int j = 1; j <= n; ++j) {
        // sums[i] = sum over k < j of L(i,k)·L(j,k), for i = j..n.
        SumsDownColumn(lColumns, lColumns, j, j, sums);
        const double radicand = a(j, j) - sums[j];
        if (!(radicand < 0.0)) lColumns(j, j) = std::sqrt(radicand);
        for (int i = j + 1; i <= n; ++i) lColumns(j, i) = (a(i, j) - sums[i]) / lColumns(j, j);
    }
    return Transposed(lColumns);
}

std::optional<TriangularReport> SqrtRootReport(const Matrix& augmented, int digits) {
    const int n = augmented.rows();
    const Matrix l = SquareRootFactor(augmented);
    const Vector b = RightHandSide(augmented);
    const Vector y = ForwardSubstitution(l, b, Diagonal::Divide);
    const Vector x = *BackSubstitution(Transposed(l), y, ZeroPivots::CarryOn);

    std::string report;
    AppendMatrixRows(report, augmented, n, n + 1, kFourSpaces, std::nullopt);
    AppendHeading(report, "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b");
    AppendMatrixRows(report, augmented, n, n, kFiveSpaces, std::nullopt);
    report += kLineEnd;
    AppendVectorLine(report, b, kFiveSpaces, std::nullopt);
    AppendHeading(report, "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)");
    AppendMatrixRows(report, l, n, n, kFiveSpaces, digits + 1);
    AppendHeading(report, "输出求解LY=b后的 Y(n)");
    AppendLabelledLines(report, "y", y, digits + 1, LabelLineEnd::Before);
    AppendHeading(report, "输出求解UX=Y后的 X，亦既方程组的解：");
    AppendLabelledLines(report, "x", x, digits, LabelLineEnd::After);
    report += kLineEnd;
    report += "平方根法解线性方程组。";
    report += kLineEnd;
    report += "注意：本方法仅对未知数x的系数矩阵是对称正定矩阵时有效。";
    return TriangularReport{std::move(report), x};
}

void SqrtRoot(CommandContext& context) {
    RunTriangularCommand(context, {.prompt = {"确定方程组的系数矩阵A是对称正定的后，输入方程组系数矩阵的阶数 n：", "", ""},
                                   .emptyPaneBeforePrompt = true,
                                   .arrays = 9,
                                   .method = SqrtRootReport,
                                   .zeroPivotMessage = ""});
}

}  // namespace koravin
