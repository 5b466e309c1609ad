#include "linear/linear_commands.h"

#include <array>

namespace koravin {

std::span<const CommandInfo> LinearCommands() {
    static constexpr std::array<CommandInfo, 0> commands{};
    return commands;
}

}  // namespace koravin
