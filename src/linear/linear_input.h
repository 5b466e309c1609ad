#pragma once

// What the commands of the linear-systems workspace share in reading their input.

#include <cstddef>
#include <optional>
#include <string_view>

#include "command/interaction.h"

namespace koravin {

// The order of a system as a prompt reply gives it: ToInteger16 of the leading number, 0 when
// that conversion fails.
int OrderFromReply(std::string_view reply);

// n + 1 columns must still be a 16-bit count.
inline constexpr int kLargestAugmentedOrder = 32766;

inline constexpr std::string_view kOrderTooLargeMessage = "矩阵阶数太大，无法计算！";

// Whether a command may create `matrices` arrays of n x (n + 1) doubles (and a few vectors):
// the order is at most kLargestAugmentedOrder and the arrays stay within 256 MiB, what this
// program allows itself. When not, the person is told kOrderTooLargeMessage and the answer is false.
bool OrderFitsInMemory(Interaction& user, int n, int matrices);

// Asks for the order, for the commands that check it before anything else. Nothing when the reply
// does not give a positive order (the command then ends silently) or when the arrays would not
// fit (the person has been told so).
std::optional<int> AskOrder(Interaction& user, const Prompt& prompt, int matrices);

}  // namespace koravin
