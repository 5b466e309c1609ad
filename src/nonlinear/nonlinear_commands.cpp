#include "nonlinear/nonlinear_commands.h"

#include <array>

namespace koravin {

std::span<const CommandInfo> NonlinearCommands() {
    static constexpr std::array<CommandInfo, 0> commands{};
    return commands;
}

}  // namespace koravin
