#pragma once

#include <span>

#include "command/interaction.h"

namespace koravin {

// The commands of this workspace, in menu order.
std::span<const CommandInfo> NonlinearCommands();

void CalculateDichotomy(CommandContext& context);  // bisection
void CalculateIterative(CommandContext& context);  // fixed-point iteration
void IterativeSpeedUp(CommandContext& context);    // fixed-point iteration with an acceleration factor
void CalculateAitken(CommandContext& context);     // fixed-point iteration with Aitken's acceleration
void CalculateNewton(CommandContext& context);     // Newton's tangent method
void CalculateXianJie(CommandContext& context);    // secant method

}  // namespace koravin
