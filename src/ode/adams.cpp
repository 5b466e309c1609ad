#include <algorithm>
#include <vector>

#include "numbers/number_conversions.h"
#include "ode/ode_commands.h"
#include "ode/ode_input.h"
#include "ode/ode_table.h"

namespace koravin {

// Four-step Adams-Bashforth beside Adams-Bashforth predicted, Adams-Moulton corrected once. The
// person gives the solution at the first four nodes; no one-step method starts the run. Back
// slopes are evaluated afresh in every step, each column from its own values.
void UsDi_Adams(CommandContext& context) {
    const auto grid = ReadOdeGrid(context);
    if (!grid) return;

    const std::vector<double>& x = grid->x;
    std::vector<double> bashforth(x.size());
    std::vector<double> moulton(x.size());
    const std::size_t starts = std::min<std::size_t>(4, x.size());
    for (std::size_t k = 0; k < starts; ++k) {
        const auto value = AskSolutionValue(context.user, x[k]);
        if (!value) {
            context.user.tell("没有输入第" + IndexText(static_cast<long long>(k)) + "个的初始函数值。");
            return;
        }
        bashforth[k] = *value;
        moulton[k] = *value;
    }

    const double h = grid->h;
    const CompiledExpression& f = grid->f;
    for (std::size_t i = 4; i < x.size(); ++i) {
        const double f1 = f.InsertValueXY(x[i - 1], bashforth[i - 1]);
        const double f2 = f.InsertValueXY(x[i - 2], bashforth[i - 2]);
        const double f3 = f.InsertValueXY(x[i - 3], bashforth[i - 3]);
        const double f4 = f.InsertValueXY(x[i - 4], bashforth[i - 4]);
        bashforth[i] = (55 * f1 - 59 * f2 + 37 * f3 - 9 * f4) * h / 24 + bashforth[i - 1];

        const double g1 = f.InsertValueXY(x[i - 1], moulton[i - 1]);
        const double g2 = f.InsertValueXY(x[i - 2], moulton[i - 2]);
        const double g3 = f.InsertValueXY(x[i - 3], moulton[i - 3]);
        const double g4 = f.InsertValueXY(x[i - 4], moulton[i - 4]);
        const double predictor = (55 * g1 - 59 * g2 + 37 * g3 - 9 * g4) * h / 24 + moulton[i - 1];
        const double slope = f.InsertValueXY(x[i], predictor);
        moulton[i] = (9 * slope + 19 * g1 - 5 * g2 + g3) * h / 24 + moulton[i - 1];
    }
    WriteOdeTable(context, x, {"阿达姆斯外插公式Y(n)", bashforth}, {"阿达姆斯内插公式Y(n)", moulton});
}

}  // namespace koravin
