#pragma once

#include <span>

#include "command/interaction.h"

namespace koravin {

// The compute commands of the three differential-equation windows. Each reads the fields
// Text1..Text4 from context.fields, asks for its starting values and writes a table of two
// methods side by side into context.result.
void UsDi_Euler(CommandContext& context);
void UsDi_RungeKutta(CommandContext& context);
void UsDi_Adams(CommandContext& context);

// The commands of this workspace, in the chooser's order.
std::span<const CommandInfo> DifferentialEquationCommands();

}  // namespace koravin
