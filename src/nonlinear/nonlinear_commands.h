#pragma once

#include <span>

#include "command/interaction.h"

namespace koravin {

// The commands of this workspace, in menu order.
std::span<const CommandInfo> NonlinearCommands();

}  // namespace koravin
