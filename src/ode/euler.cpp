#include <vector>

#include "ode/ode_commands.h"
#include "ode/ode_input.h"
#include "ode/ode_table.h"

namespace koravin {

// Explicit Euler beside the Euler predictor-corrector. The two columns share no evaluation of
// f, even while their values agree, and h*f is formed before the previous value is added.
void UsDi_Euler(CommandContext& context) {
    const auto grid = ReadOdeGrid(context);
    if (!grid) return;
    const auto y0 = AskInitialValue(context, *grid);
    if (!y0) return;

    const std::vector<double>& x = grid->x;
    const double h = grid->h;
    const CompiledExpression& f = grid->f;
    std::vector<double> explicitEuler(x.size());
    std::vector<double> corrected(x.size());
    explicitEuler[0] = *y0;
    corrected[0] = *y0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        explicitEuler[i] = h * f.InsertValueXY(x[i - 1], explicitEuler[i - 1]) + explicitEuler[i - 1];
        const double predictor = h * f.InsertValueXY(x[i - 1], corrected[i - 1]) + corrected[i - 1];
        const double corrector = h * f.InsertValueXY(x[i], predictor) + corrected[i - 1];
        corrected[i] = (predictor + corrector) / 2;
    }
    WriteOdeTable(context, x, {"欧拉公式Y(n)", explicitEuler}, {"Euler预估-校正公式Y(n)", corrected});
}

}  // namespace koravin
