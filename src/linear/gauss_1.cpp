#include "linear/check_facts.h"
#include "linear/gauss_family.h"
#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"
#include "numbers/text_utilities.h"

namespace koravin {

void Gauss_1(CommandContext& context) {
    const std::string reply = context.user.ask({"输入矩阵的阶数 n：", "输入数据", "3"});
    if (TrimBlanks(reply).empty()) return;
    const int n = OrderFromReply(reply);
    if (n <= 0) return;
    if (!OrderFitsInMemory(context.user, n, 2)) return;
    context.result.clear();

    const Matrix a = ReadSystem(context.editorText, n);
    Matrix w = a;
    // Every stored entry and unknown keeps one place more than the report shows.
    const FixedRounding round(context.decimalDigits + 1);
    for (int k = 1; k <= n; ++k) EliminateColumnBelow(w, k, n, n + 1, round);
    const Vector x = BackSubstitute(w, n, round);
    RecordSolvedSystem(context, a, x, TypedOrder(n), context.decimalDigits);

    context.result.append(GaussReport(a, w, x, TypedOrder(n), context.decimalDigits,
                                      {"输出方程组增广矩阵消元后的结果", "输出求解结果",
                                       "Gauss消去法解线性方程组", false}));
}

}  // namespace koravin
