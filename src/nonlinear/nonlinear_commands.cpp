#include "nonlinear/nonlinear_commands.h"

namespace koravin {

std::span<const CommandInfo> NonlinearCommands() { return {}; }

}  // namespace koravin
