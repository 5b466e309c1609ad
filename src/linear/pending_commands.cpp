// Commands not built yet. Each is removed from here when its own file defines it.

#include "linear/linear_commands.h"

namespace koravin {

void Gauss_1(CommandContext&) {}
void GaussTier(CommandContext&) {}
void GaussFull(CommandContext&) {}
void A_matrix(CommandContext&) {}
void A_range(CommandContext&) {}
void MatrixBreak(CommandContext&) {}
void LU_break(CommandContext&) {}
void SqrtRoot(CommandContext&) {}
void MendSqrt(CommandContext&) {}
void Purase(CommandContext&) {}
void TierLU(CommandContext&) {}
void JacobiDie(CommandContext&) {}
void Gauss_SeidelDie(CommandContext&) {}
void SorDie(CommandContext&) {}
void CMatrixJudge(CommandContext&) {}
void VectorModel(CommandContext&) {}
void MatrixModel(CommandContext&) {}
void StrictMatrixJudge(CommandContext&) {}

}  // namespace koravin
