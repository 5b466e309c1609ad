#include <utility>
#include <vector>

#include "ode/ode_commands.h"
#include "ode/ode_methods.h"
#include "steps/stop_request.h"

namespace koravin {

// Explicit Euler beside the Euler predictor-corrector. The two columns share no evaluation of
// f, even while their values agree, and h*f is formed before the previous value is added.
OdeSolution EulerColumns(std::span<const double> x, double h, const CompiledExpression& f, double y0) {
    std::vector<double> explicitEuler(x.size());
    std::vector<double> corrected(x.size());
    explicitEuler[0] = y0;
    corrected[0] = y0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (i % kStepsBetweenStopChecks == 0) BetweenSteps();
        explicitEuler[i] = h * f.InsertValueXY(x[i - 1], explicitEuler[i - 1]) + explicitEuler[i - 1];
        const double predictor = h * f.InsertValueXY(x[i - 1], corrected[i - 1]) + corrected[i - 1];
        const double corrector = h * f.InsertValueXY(x[i], predictor) + corrected[i - 1];
        corrected[i] = (predictor + corrector) / 2;
    }
    return {std::move(explicitEuler), std::move(corrected)};
}

void UsDi_Euler(CommandContext& context) {
    RunOneStepWindow(context, EulerColumns, "欧拉公式Y(n)", "Euler预估-校正公式Y(n)");
}

}  // namespace koravin
