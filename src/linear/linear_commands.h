#pragma once

#include <span>

#include "command/interaction.h"

namespace koravin {

// The commands of the linear-systems workspace, one source file each.
void Gauss_1(CommandContext& context);
void GaussTier(CommandContext& context);
void GaussFull(CommandContext& context);
void A_matrix(CommandContext& context);
void A_range(CommandContext& context);
void MatrixBreak(CommandContext& context);
void LU_break(CommandContext& context);
void SqrtRoot(CommandContext& context);
void MendSqrt(CommandContext& context);
void Purase(CommandContext& context);
void TierLU(CommandContext& context);
void JacobiDie(CommandContext& context);
void Gauss_SeidelDie(CommandContext& context);
void SorDie(CommandContext& context);
void CMatrixJudge(CommandContext& context);
void VectorModel(CommandContext& context);
void MatrixModel(CommandContext& context);
void StrictMatrixJudge(CommandContext& context);

// The commands of this workspace, in menu order.
std::span<const CommandInfo> LinearCommands();

}  // namespace koravin
