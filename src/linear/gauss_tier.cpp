#include "linear/check_facts.h"
#include "linear/gauss_family.h"
#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"

namespace koravin {

void GaussTier(CommandContext& context) {
    context.result.clear();
    const int n = OrderFromReply(context.user.ask({"输入方程组系数矩阵的阶数 n：", "", ""}));
    if (n <= 0) return;
    if (!OrderFitsInMemory(context.user, n, 2)) return;

    const Matrix a = ReadSystem(context.editorText, n);
    Matrix w = a;
    const FixedRounding round(context.decimalDigits + 1);
    for (int k = 1; k <= n; ++k) {
        BringPivotRowUp(w, k, n, n + 1);
        EliminateColumnBelow(w, k, n, n + 1, round);
    }
    const Vector x = BackSubstitute(w, n, round);
    RecordSolvedSystem(context, a, x, TypedOrder(n), context.decimalDigits);

    context.result.append(GaussReport(a, w, x, TypedOrder(n), context.decimalDigits,
                                      {"输出方程组增广矩阵选主元、消元后的结果", "输出求解结果",
                                       "Gauss列主元消去法解线性方程组", false}));
}

}  // namespace koravin
