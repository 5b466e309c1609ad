#include "linear/iterative_solver.h"
#include "linear/linear_commands.h"

namespace koravin {

void Gauss_SeidelDie(CommandContext& context) {
    RunIterativeCommand(context, IterativeMethod::GaussSeidel, "Gauss-Seidel迭代法解线性方程组");
}

}  // namespace koravin
