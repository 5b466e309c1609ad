#include <algorithm>

#include "linear/check_facts.h"
#include "linear/gauss_family.h"
#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"
#include "matrix/report.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void A_range(CommandContext& context) {
    const int n = OrderFromReply(context.user.ask({"输入矩阵的阶数 n：", "", ""}));
    if (n <= 0) return;
    context.result.clear();
    if (!OrderFitsInMemory(context.user, n, 2)) return;

    const Matrix a = ReadSystem(context.editorText, n);
    Matrix d(n, n);
    for (int i = 1; i <= n; ++i) std::copy(a.row(i), a.row(i) + n, d.row(i));
    const DeterminantResult result = PivotDeterminant(d);

    RecordSystem(context, a);
    context.linearDeterminant(RoundDigits(result.determinant, context.decimalDigits));

    std::string report;
    AppendMatrixRows(report, a, n, n, "  ", std::nullopt);
    AppendHeading(report, "输出行列式选主元、消元后的结果");
    AppendMatrixRows(report, d, n, n, "  ", context.decimalDigits + 1);
    AppendHeading(report, "行、列共交换 " + IndexText(result.swaps) + " 次");
    AppendHeading(report, "行列式的值为：");
    report += "   ";
    report += NumberText(RoundDigits(result.determinant, context.decimalDigits));
    report += kLineEnd;
    report += kLineEnd;
    report += "选主元消去法的应用——求行列式的值。";
    context.result.append(report);
}

}  // namespace koravin
