#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_common.h"
#include "matrix/report.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

// The typed matrix with every coefficient outside the band |i - j| <= 1 set to 0: the system
// that is actually solved. The right-hand side stays.
Matrix TridiagonalPart(const Matrix& augmented) {
    const int n = augmented.rows();
    Matrix banded = augmented;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= i - 2; ++j) banded(i, j) = 0.0;
        for (int j = i + 2; j <= n; ++j) banded(i, j) = 0.0;
    }
    return banded;
}

}  // namespace

// The chase: no test of the shape, of zero divisors or of diagonal dominance.
std::optional<TriangularReport> PuraseReport(const Matrix& augmented, int digits) {
    const int n = augmented.rows();
    Vector a(2, n), b(1, n), c(1, n - 1), rhs(1, n);
    for (int i = 1; i <= n; ++i) {
        b(i) = augmented(i, i);
        rhs(i) = augmented(i, n + 1);
        if (i >= 2) a(i) = augmented(i, i - 1);
        if (i <= n - 1) c(i) = augmented(i, i + 1);
    }
    Vector l(2, n), u(1, n);
    u(1) = b(1);
    for (int i = 2; i <= n; ++i) {
        l(i) = a(i) / u(i - 1);
        u(i) = b(i) - l(i) * c(i - 1);
    }
    Vector y(1, n);
    y(1) = rhs(1);
    for (int i = 2; i <= n; ++i) y(i) = rhs(i) - l(i) * y(i - 1);
    Vector x(1, n);
    x(n) = y(n) / u(n);
    for (int i = n - 1; i >= 1; --i) x(i) = (y(i) - c(i) * x(i + 1)) / u(i);

    const Matrix banded = TridiagonalPart(augmented);
    std::string report;
    AppendMatrixRows(report, banded, n, n + 1, kFourSpaces, std::nullopt);
    AppendHeading(report, "以上是三对角线形方程组的增广矩阵");
    report += "接下来输出方程组的系数矩阵A、方程组的常数项向量D(n)";
    report += kLineEnd;
    AppendMatrixRows(report, banded, n, n, kFiveSpaces, std::nullopt);
    report += kLineEnd;
    // Unlike the other decompositions, the right-hand side is shown rounded.
    AppendVectorLine(report, rhs, kFiveSpaces, digits + 1);
    report += kLineEnd;
    report += "输出求解LY=D后的 Y(n)";
    AppendLabelledLines(report, "y", y, digits + 1, LabelLineEnd::Before);
    report += kLineEnd;
    report += kLineEnd;
    report += "输出求解UX=Y后的 X，亦既方程组的解：";
    report += kLineEnd;
    AppendLabelledLines(report, "x", x, digits, LabelLineEnd::After);
    report += kLineEnd;
    report += "追赶法解三对角线性方程组。";
    report += kLineEnd;
    report += "注意：本方法仅适合于三对角线性方程组。";
    return TriangularReport{std::move(report), x, banded};
}

void Purase(CommandContext& context) {
    RunTriangularCommand(context, {.prompt = {"输入数组的阶数 n：", "", ""},
                                   .emptyPaneBeforePrompt = false,
                                   .arrays = 6,
                                   .method = PuraseReport,
                                   .zeroPivotMessage = ""});
}

}  // namespace koravin
