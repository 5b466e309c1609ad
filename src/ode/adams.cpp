#include <algorithm>
#include <utility>
#include <vector>

#include "numbers/number_conversions.h"
#include "ode/ode_commands.h"
#include "ode/ode_input.h"
#include "ode/ode_methods.h"
#include "ode/ode_table.h"
#include "steps/stop_request.h"

namespace koravin {

// Four-step Adams-Bashforth beside Adams-Bashforth predicted, Adams-Moulton corrected once. The
// person gives the solution at the first four nodes; no one-step method starts the run. Back
// slopes are evaluated afresh in every step, each column from its own values.
OdeSolution AdamsColumns(std::span<const double> x, double h, const CompiledExpression& f,
                         std::span<const double> starts) {
    std::vector<double> bashforth(x.size());
    std::vector<double> moulton(x.size());
    for (std::size_t k = 0; k < std::min(starts.size(), x.size()); ++k) {
        bashforth[k] = starts[k];
        moulton[k] = starts[k];
    }
    for (std::size_t i = 4; i < x.size(); ++i) {
        if (i % kStepsBetweenStopChecks == 0) BetweenSteps();
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
    return {std::move(bashforth), std::move(moulton)};
}

void UsDi_Adams(CommandContext& context) {
    const auto grid = ReadOdeGrid(context);
    if (!grid) return;

    const std::vector<double>& x = grid->x;
    std::vector<double> starts;
    for (std::size_t k = 0; k < std::min<std::size_t>(4, x.size()); ++k) {
        const auto value = AskSolutionValue(context.user, x[k]);
        if (!value) {
            context.user.tell("没有输入第" + IndexText(static_cast<long long>(k)) + "个的初始函数值。");
            return;
        }
        starts.push_back(*value);
    }
    const OdeSolution columns = AdamsColumns(x, grid->h, grid->f, starts);
    WriteOdeTable(context, x, {"阿达姆斯外插公式Y(n)", columns.first}, {"阿达姆斯内插公式Y(n)", columns.second});
}

}  // namespace koravin
