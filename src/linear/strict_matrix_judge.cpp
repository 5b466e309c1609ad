#include <cmath>
#include <string>

#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_text.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

// The first row whose diagonal entry does not exceed the sum of the others in magnitude (a NaN
// comparison does not exceed), or 0 when every row does.
int FirstRowNotDominant(const Matrix& m, int n) {
    for (int i = 1; i <= n; ++i) {
        double others = 0;
        for (int j = 1; j <= n; ++j) {
            if (j != i) others = others + std::fabs(m(i, j));
        }
        if (!(std::fabs(m(i, i)) > others)) return i;
    }
    return 0;
}

}  // namespace

void StrictMatrixJudge(CommandContext& context) {
    const auto order = AskOrder(context.user, {"输入矩阵的阶数 n：", "", ""}, 1);
    if (!order) return;
    const int n = *order;
    context.result.clear();
    Matrix m(n, n + 1);
    ReadAugmentedMatrix(context.editorText, n, m);

    std::string report;
    AppendMatrixRows(report, m, n, n, "  ", std::nullopt);
    report.append(kLineEnd).append("以上是该矩阵的元素").append(kLineEnd);
    report.append("下面输出各行的判断结果：").append(kLineEnd);
    if (const int row = FirstRowNotDominant(m, n); row != 0) {
        report.append("第 ").append(IndexText(row)).append(" 行对角元素的绝对值不严格大于同行的其他元素的绝对值之和");
        report.append(kLineEnd).append(kLineEnd).append("因此该矩阵不是严格对角占优矩阵。").append(kLineEnd);
    } else {
        report.append("该矩阵每一行对角元素的绝对值都严格大于同行的其他元素的绝对值之和");
        report.append(kLineEnd).append(kLineEnd).append("因此该矩阵是严格对角占优矩阵。");
        report.append(kLineEnd).append(kLineEnd).append("同时该矩阵也为非奇异矩阵。");
    }
    context.result.append(report);
}

}  // namespace koravin
