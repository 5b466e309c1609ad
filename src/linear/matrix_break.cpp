#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/report.h"

namespace koravin {

// The (n+1)-th column the reader fills is never used: the person types the matrix itself.
std::optional<TriangularReport> MatrixBreakReport(const Matrix& augmented, int digits) {
    const int n = augmented.rows();
    const std::optional<TriangularFactors> factors = DoolittleDecomposition(augmented);
    if (!factors) return std::nullopt;

    std::string report;
    AppendMatrixRows(report, augmented, n, n, kFourSpaces, std::nullopt);
    AppendHeading(report, "以上是所要分解的矩阵，接下来输出三角分解后的下三角矩阵L(n)");
    AppendMatrixRows(report, factors->l, n, n, kFourSpaces, digits);
    AppendHeading(report, "输出矩阵三角分解后的上三角矩阵U(n)");
    AppendSpacedRows(report, factors->u, n, kFiveSpaces, digits);
    return TriangularReport{std::move(report)};
}

void MatrixBreak(CommandContext& context) {
    RunTriangularCommand(context, {.prompt = {"输入矩阵的阶数 n：", "输入数据", "3"},
                                   .emptyPaneBeforePrompt = true,
                                   .arrays = 10,
                                   .method = MatrixBreakReport,
                                   .zeroPivotMessage = "此方法不合适#"});
}

}  // namespace koravin
