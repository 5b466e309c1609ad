#include <algorithm>
#include <vector>

#include "linear/check_facts.h"
#include "linear/gauss_family.h"
#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {

void A_matrix(CommandContext& context) {
    const int n = OrderFromReply(context.user.ask({"输入矩阵的阶数 n：", "", ""}));
    if (n <= 0) return;
    context.result.clear();
    if (!OrderFitsInMemory(context.user, n, 3)) return;

    const Matrix a = ReadSystem(context.editorText, n);
    const int width = 2 * n;
    Matrix w(n, width);
    for (int i = 1; i <= n; ++i) {
        std::copy(a.row(i), a.row(i) + n, w.row(i));
        w(i, n + i) = 1;
    }
    const FixedRounding round(context.decimalDigits + 1);
    for (int k = 1; k <= n; ++k) {
        BetweenSteps();
        BringPivotRowUp(w, k, n, width);
        const double* pivotRow = w.row(k) + (k - 1);
        for (int r = 1; r <= n; ++r) {
            if (r == k) continue;
            double* row = w.row(r) + (k - 1);
            SubtractScaledRow(row, pivotRow, row[0] / pivotRow[0], width - k + 1, round);
        }
        const double t = w(k, k);
        for (int j = 1; j <= width; ++j) w(k, j) = w(k, j) / t;
    }

    RecordSystem(context, a);
    if (context.facts != nullptr) {
        std::vector<double> computed;
        std::vector<double> rounded;
        computed.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
        rounded.reserve(computed.capacity());
        for (int i = 1; i <= n; ++i) {
            for (int j = n + 1; j <= width; ++j) {
                computed.push_back(w(i, j));
                rounded.push_back(RoundDigits(w(i, j), context.decimalDigits));
            }
        }
        context.linearInverse(rounded, computed);
    }

    std::string report;
    AppendMatrixRows(report, a, n, n, "  ", std::nullopt);
    AppendHeading(report, "输出矩阵选主元、消元后的结果");
    AppendMatrixRows(report, w, n, width, "  ", context.decimalDigits + 1);
    AppendHeading(report, "矩阵的逆为：");
    AppendMatrixColumns(report, w, n, n + 1, width, "  ", context.decimalDigits);
    report += kLineEnd;
    report += kLineEnd;
    report += "选主元消去法的应用——求矩阵的逆。";
    context.result.append(report);
}

}  // namespace koravin
