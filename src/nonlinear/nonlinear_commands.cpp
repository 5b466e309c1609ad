#include "nonlinear/nonlinear_commands.h"

namespace koravin {

std::span<const CommandInfo> NonlinearCommands() {
    static constexpr CommandInfo commands[] = {
        {"CalculateDichotomy", Workspace::Nonlinear, "二分法", CalculateDichotomy},
        {"CalculateIterative", Workspace::Nonlinear, "迭代法", CalculateIterative},
        {"IterativeSpeedUp", Workspace::Nonlinear, "迭代-加速法", IterativeSpeedUp},
        {"CalculateAitken", Workspace::Nonlinear, "埃特金加速法", CalculateAitken},
        {"CalculateNewton", Workspace::Nonlinear, "牛顿切线法", CalculateNewton},
        {"CalculateXianJie", Workspace::Nonlinear, "弦截法", CalculateXianJie},
    };
    return commands;
}

}  // namespace koravin
