#include "ode/ode_commands.h"

namespace koravin {

std::span<const CommandInfo> DifferentialEquationCommands() {
    static constexpr CommandInfo commands[] = {
        {"UsDi_Euler", Workspace::DifferentialEquation, "欧拉(Euler)方法", UsDi_Euler},
        {"UsDi_RungeKutta", Workspace::DifferentialEquation, "龙格库塔(Runge-Kutta)方法", UsDi_RungeKutta},
        {"UsDi_Adams", Workspace::DifferentialEquation, "线性多步方法", UsDi_Adams},
    };
    return commands;
}

}  // namespace koravin
