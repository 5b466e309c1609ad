#include <string>

#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"
#include "matrix/matrix_text.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CMatrixJudge(CommandContext& context) {
    const auto order = AskOrder(context.user, {"输入矩阵的阶数 n：", "", ""}, 2);
    if (!order) return;
    const int n = *order;
    context.result.clear();
    Matrix matrix(n, n + 1);
    ReadAugmentedMatrix(context.editorText, n, matrix);

    std::string report;
    AppendMatrixRows(report, matrix, n, n, "  ", std::nullopt);
    report.append(kLineEnd).append("以上是该矩阵的各元素").append(kLineEnd);
    report.append("下面输出各阶顺序主子式的值：").append(kLineEnd);
    bool allPositive = true;
    for (int k = 1; k <= n && allPositive; ++k) {
        Matrix block(k, k);
        for (int i = 1; i <= k; ++i) {
            for (int j = 1; j <= k; ++j) block(i, j) = matrix(i, j);
        }
        const double minor = PivotDeterminant(block).determinant;
        report.append("  ").append(IndexText(k)).append(" 阶顺序主子式的值为： ");
        report.append(NumberText(RoundDigits(minor, context.decimalDigits))).append(kLineEnd);
        // The test takes the minor unrounded; NaN is not positive.
        if (!(minor > 0)) {
            allPositive = false;
            report.append(kLineEnd).append("第 ").append(IndexText(k)).append(" 阶顺序主子式的值不大于 0 ，该矩阵非正定。");
            report.append(kLineEnd);
        }
    }
    if (allPositive) report.append(kLineEnd).append("该矩阵各阶顺序主子式的值全大于 0 ，是正定矩阵。").append(kLineEnd);
    context.result.append(report);
}

}  // namespace koravin
