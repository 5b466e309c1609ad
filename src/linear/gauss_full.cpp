#include "linear/gauss_full.h"

#include <algorithm>
#include <utility>

#include "linear/check_facts.h"
#include "linear/gauss_family.h"
#include "linear/linear_commands.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"

namespace koravin {

void EliminantFirst(Matrix& s, int m, const FixedRounding& round) { EliminateColumnBelow(s, 1, m, m + 1, round); }

void CopyTrailingBlock(const Matrix& w, int n, int k, Matrix& s) {
    for (int i = k; i <= n; ++i) std::copy(w.row(i) + (k - 1), w.row(i) + (n + 1), s.row(i - k + 1));
}

void GaussFull(CommandContext& context) {
    const int n = OrderFromReply(context.user.ask({"输入方程组系数矩阵的阶数 n：", "", ""}));
    if (n <= 0) return;
    if (!OrderFitsInMemory(context.user, n, 3)) return;
    context.result.clear();

    const Matrix a = ReadSystem(context.editorText, n);
    Matrix w = a;
    std::vector<int> perm = TypedOrder(n);
    const FixedRounding round(context.decimalDigits + 1);
    for (int k = 1; k <= n - 1; ++k) {
        const int m = n - k + 1;
        Matrix s(m, m + 1);
        CopyTrailingBlock(w, n, k, s);
        const EntryPosition pivot = FindLargestEntry(s, m);
        SwapRows(s, 1, pivot.row, m + 1);
        SwapColumns(s, 1, pivot.col, m);
        // The rows above the block are reduced already; their unknowns follow the exchange.
        SwapColumns(w, k, k + pivot.col - 1, n);
        if (pivot.col != 1) std::swap(perm[static_cast<std::size_t>(k - 1)], perm[static_cast<std::size_t>(k + pivot.col - 2)]);
        EliminantFirst(s, m, round);
        for (int i = 1; i <= m; ++i) std::copy(s.row(i), s.row(i) + (m + 1), w.row(i + k - 1) + (k - 1));
    }
    const Vector x = BackSubstitute(w, n, round);
    RecordSolvedSystem(context, a, x, perm, context.decimalDigits);

    context.result.append(GaussReport(a, w, x, perm, context.decimalDigits,
                                      {"输出方程组增广矩阵选主元、消元后的结果", "输出求解结果：",
                                       "Gauss全主元消去法解线性方程组", true}));
}

}  // namespace koravin
