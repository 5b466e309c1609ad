#include "ode/ode_commands.h"

namespace koravin {

std::span<const CommandInfo> DifferentialEquationCommands() { return {}; }

}  // namespace koravin
