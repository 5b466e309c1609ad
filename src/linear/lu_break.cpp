#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/report.h"
#include "numbers/text_utilities.h"

namespace koravin {

std::optional<TriangularReport> LuBreakReport(const Matrix& augmented, int digits) {
    const int n = augmented.rows();
    const std::optional<TriangularFactors> factors = DoolittleDecomposition(augmented);
    if (!factors) return std::nullopt;
    const Vector b = RightHandSide(augmented);
    const Vector y = ForwardSubstitution(factors->l, b, Diagonal::Unit);
    const std::optional<Vector> x = BackSubstitution(factors->u, y, ZeroPivots::StopAtZeroPivot);
    if (!x) return std::nullopt;

    // L, U and Y carry one place more than the solution.
    std::string report;
    AppendMatrixRows(report, augmented, n, n + 1, kFourSpaces, std::nullopt);
    AppendHeading(report, "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b：");
    AppendMatrixRows(report, augmented, n, n, kFourSpaces, std::nullopt);
    report += kLineEnd;
    AppendVectorLine(report, b, kFourSpaces, std::nullopt);
    AppendHeading(report, "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)");
    AppendMatrixRows(report, factors->l, n, n, kFourSpaces, digits + 1);
    AppendHeading(report, "输出方程组的系数矩阵LU分解后的上三角矩阵U(n)");
    AppendSpacedRows(report, factors->u, n, kFiveSpaces, digits + 1);
    AppendHeading(report, "输出求解LY=b后的 Y(n)");
    AppendLabelledLines(report, "y", y, digits + 1, LabelLineEnd::After);
    AppendHeading(report, "输出求解UX=Y后的 X(n)，亦既方程组的解：");
    AppendLabelledLines(report, "x", *x, digits, LabelLineEnd::After);
    report += kLineEnd;
    report += "LU分解法解线性方程组";
    return TriangularReport{std::move(report), *x};
}

void LU_break(CommandContext& context) {
    RunTriangularCommand(context, {.prompt = {"输入方程组系数矩阵的阶数 n：", "", ""},
                                   .emptyPaneBeforePrompt = true,
                                   .arrays = 12,
                                   .method = LuBreakReport,
                                   .zeroPivotMessage = "此方法不合适！"});
}

}  // namespace koravin
