#include "ode/ode_commands.h"

#include <array>

namespace koravin {

std::span<const CommandInfo> DifferentialEquationCommands() {
    static constexpr std::array<CommandInfo, 0> commands{};
    return commands;
}

}  // namespace koravin
