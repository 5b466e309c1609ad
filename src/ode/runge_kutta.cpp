#include <utility>
#include <vector>

#include "ode/ode_commands.h"
#include "ode/ode_methods.h"
#include "steps/stop_request.h"

namespace koravin {

// Third- and fourth-order Runge-Kutta side by side, the third order first within each step.
// The intermediate abscissae are x(i-1) plus h/2 or h, never x(i), and every sum is formed in
// the order written: the results are compared bit for bit.
OdeSolution RungeKuttaColumns(std::span<const double> x, double h, const CompiledExpression& f, double y0) {
    std::vector<double> third(x.size());
    std::vector<double> fourth(x.size());
    third[0] = y0;
    fourth[0] = y0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (i % kStepsBetweenStopChecks == 0) BetweenSteps();
        const double xp = x[i - 1];

        const double y3 = third[i - 1];
        double k1 = f.InsertValueXY(xp, y3);
        double k2 = f.InsertValueXY(h / 2 + xp, h * k1 / 2 + y3);
        double k3 = f.InsertValueXY(h + xp, (2 * k2 - k1) * h + y3);
        third[i] = (4 * k2 + k1 + k3) * h / 6 + y3;

        const double y4 = fourth[i - 1];
        k1 = f.InsertValueXY(xp, y4);
        k2 = f.InsertValueXY(h / 2 + xp, h * k1 / 2 + y4);
        k3 = f.InsertValueXY(h / 2 + xp, h * k2 / 2 + y4);
        const double k4 = f.InsertValueXY(h + xp, h * k3 + y4);
        fourth[i] = (2 * (k2 + k3) + k1 + k4) * h / 6 + y4;
    }
    return {std::move(third), std::move(fourth)};
}

void UsDi_RungeKutta(CommandContext& context) {
    RunOneStepWindow(context, RungeKuttaColumns, "三阶龙格-库塔公式Y(n)", "四阶龙格-库塔公式Y(n)");
}

}  // namespace koravin
