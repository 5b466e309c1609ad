// Commands not built yet. Each is removed from here when its own file defines it.

#include "linear/linear_commands.h"

namespace koravin {

void MatrixBreak(CommandContext&) {}
void LU_break(CommandContext&) {}
void SqrtRoot(CommandContext&) {}
void MendSqrt(CommandContext&) {}
void Purase(CommandContext&) {}
void TierLU(CommandContext&) {}

}  // namespace koravin
