#include "linear/linear_commands.h"

namespace koravin {

std::span<const CommandInfo> LinearCommands() {
    static constexpr CommandInfo commands[] = {
        {"Gauss_1", Workspace::Linear, "Gauss消去法", Gauss_1},
        {"GaussTier", Workspace::Linear, "Gauss列主元消去法", GaussTier},
        {"GaussFull", Workspace::Linear, "Gauss全主元消去法", GaussFull},
        {"A_matrix", Workspace::Linear, "列主元求逆矩阵", A_matrix},
        {"A_range", Workspace::Linear, "列主元求行列式", A_range},
        {"MatrixBreak", Workspace::Linear, "矩阵的三角分解", MatrixBreak},
        {"LU_break", Workspace::Linear, "LU分解法", LU_break},
        {"SqrtRoot", Workspace::Linear, "平方根法", SqrtRoot},
        {"MendSqrt", Workspace::Linear, "改进的平方根法", MendSqrt},
        {"Purase", Workspace::Linear, "追赶法(解三对角)", Purase},
        {"TierLU", Workspace::Linear, "列主元三角分解法", TierLU},
        {"JacobiDie", Workspace::Linear, "雅可比迭代法", JacobiDie},
        {"Gauss_SeidelDie", Workspace::Linear, "高斯-塞德尔迭代法", Gauss_SeidelDie},
        {"SorDie", Workspace::Linear, "逐次超松驰迭代法", SorDie},
        {"CMatrixJudge", Workspace::Linear, "正定矩阵判断", CMatrixJudge},
        {"VectorModel", Workspace::Linear, "向量范数", VectorModel},
        {"MatrixModel", Workspace::Linear, "矩阵范数", MatrixModel},
        {"StrictMatrixJudge", Workspace::Linear, "严格对角站优矩阵判断", StrictMatrixJudge},
    };
    return commands;
}

}  // namespace koravin
