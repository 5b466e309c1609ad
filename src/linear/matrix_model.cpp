#include <cmath>
#include <string>

#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "linear/power_iteration.h"
#include "matrix/matrix_text.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

// The largest of the values, the first one standing unless a later one is strictly larger.
double LargestOf(const Vector& values) {
    double largest = values(1);
    for (int i = 1; i <= values.upper(); ++i) {
        if (values(i) > largest) largest = values(i);
    }
    return largest;
}

void AppendNorm(std::string& report, std::string_view label, double norm) {
    report.append(label).append(NumberText(norm)).append(kLineEnd).append(kLineEnd);
}

}  // namespace

void MatrixModel(CommandContext& context) {
    const auto order = AskOrder(context.user, {"输入数组的阶数 n：", "输入数据", ""}, 2);
    if (!order) return;
    const int n = *order;
    context.result.clear();
    Matrix m(n, n + 1);
    ReadAugmentedMatrix(context.editorText, n, m);

    std::string report;
    AppendMatrixRows(report, m, n, n, "    ", std::nullopt);
    report.append(kLineEnd).append("以上是所要求解的矩阵，接下来输出矩阵的范数").append(kLineEnd).append(kLineEnd);

    Vector columnSums(1, n);
    Vector rowSums(1, n);
    double sumOfSquares = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            columnSums(j) = columnSums(j) + std::fabs(m(i, j));
            rowSums(i) = rowSums(i) + std::fabs(m(i, j));
            sumOfSquares = sumOfSquares + m(i, j) * m(i, j);
        }
    }
    const int d = context.decimalDigits;
    AppendNorm(report, "矩阵的1范数为： ", LargestOf(columnSums));
    AppendNorm(report, "矩阵的2范数(参考值)为： ", RoundDigits(PowerIterationTwoNorm(m, n), d));
    AppendNorm(report, "矩阵的F范数为： ", RoundDigits(std::sqrt(sumOfSquares), d));
    AppendNorm(report, "矩阵的无穷范数为： ", LargestOf(rowSums));
    context.result.append(report);
}

}  // namespace koravin
