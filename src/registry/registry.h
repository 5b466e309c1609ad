#pragma once

#include <span>
#include <string_view>

#include "command/interaction.h"

namespace koravin {

// Every command of every workspace, the linear ones first, then the nonlinear, then the
// differential-equation ones, each in menu order.
std::span<const CommandInfo> AllCommands();

const CommandInfo* FindCommand(std::string_view name);

}  // namespace koravin
