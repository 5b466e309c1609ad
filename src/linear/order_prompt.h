#pragma once

#include <optional>

#include "command/interaction.h"

namespace koravin {

// Asks for the order of a system or a matrix. Nothing when the reply does not give a positive
// order (the command then ends silently) or when `matrices` arrays of n x (n + 1) doubles would
// not fit (the person has been told so).
std::optional<int> AskOrder(Interaction& user, const Prompt& prompt, int matrices);

}  // namespace koravin
