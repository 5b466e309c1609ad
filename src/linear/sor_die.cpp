#include "linear/iterative_solver.h"
#include "linear/linear_commands.h"

namespace koravin {

void SorDie(CommandContext& context) {
    RunIterativeCommand(context, IterativeMethod::Relaxation, "逐次超松弛(SOR)迭代法解线性方程组");
}

}  // namespace koravin
