#include "linear/iterative_solver.h"
#include "linear/linear_commands.h"

namespace koravin {

void JacobiDie(CommandContext& context) {
    RunIterativeCommand(context, IterativeMethod::Jacobi, "Jacobi迭代法解线性方程组");
}

}  // namespace koravin
