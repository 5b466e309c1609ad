#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "checks/check_families.h"
#include "checks/check_text.h"
#include "expr/prepare_expression.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "ode/ode_input.h"
#include "ode/ode_methods.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

struct OdeMethod {
    std::string_view command;
    double firstOrder;
    double secondOrder;
};

constexpr OdeMethod kMethods[] = {{"UsDi_Euler", 1, 2}, {"UsDi_RungeKutta", 3, 4}, {"UsDi_Adams", 4, 4}};

// Where the Adams run on a finer grid takes its values at the three nodes after a.
enum class AdamsStarts { ExactSolution, RungeKutta };

struct Refinement {
    const RunFacts::Equation& equation;
    CompiledExpression f;
    double y0;
    const TypedFunction* exact;  // nullptr when none was given
};

// The method's two columns on the grid of `divisions` steps, at its last node.
std::pair<double, double> LastValues(std::string_view command, const Refinement& run, int divisions,
                                     AdamsStarts adamsStarts) {
    const double h = OdeStep(run.equation.a, run.equation.b, divisions);
    const std::vector<double> x = OdeNodes(run.equation.a, h, divisions);
    OdeSolution solution;
    if (command == "UsDi_Euler") {
        solution = EulerColumns(x, h, run.f, run.y0);
    } else if (command == "UsDi_RungeKutta") {
        solution = RungeKuttaColumns(x, h, run.f, run.y0);
    } else {
        const std::span<const double> startNodes = std::span(x).first(std::min<std::size_t>(4, x.size()));
        std::vector<double> starts;
        if (adamsStarts == AdamsStarts::ExactSolution) {
            starts.push_back(run.y0);
            for (std::size_t k = 1; k < startNodes.size(); ++k) starts.push_back(run.exact->CheckValueAt(startNodes[k]));
        } else {
            starts = RungeKuttaColumns(startNodes, h, run.f, run.y0).second;
        }
        solution = AdamsColumns(x, h, run.f, starts);
    }
    return {solution.first.back(), solution.second.back()};
}

// Richardson: with errors C·hᵖ, (Yₙ − Y₂ₙ) / (Y₂ₙ − Y₄ₙ) = 2ᵖ.
std::optional<double> ObservedOrder(double coarse, double middle, double fine) {
    return FiniteOrNothing(std::log2(std::fabs(coarse - middle) / std::fabs(middle - fine)));
}

struct Errors {
    std::optional<double> last;
    std::optional<double> largest;
};

Errors ErrorsAgainst(const TypedFunction& exact, const std::vector<double>& nodes, const std::vector<double>& values) {
    double largest = 0;
    double last = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i % kStepsBetweenStopChecks == 0) BetweenSteps();
        last = std::fabs(exact.CheckValueAt(nodes[i]) - values[i]);
        if (!std::isfinite(last)) return {};
        largest = std::max(largest, last);
    }
    return {last, largest};
}

std::string ColumnLine(const ColumnCheck& column) {
    std::string line = column.heading + "：观测阶 ";
    line += column.observedOrder ? "≈ " + ShortNumberText(*column.observedOrder) : "无法估计";
    line += "，理论阶 " + ShortNumberText(column.theoreticalOrder);
    if (column.finalError) {
        line += "；末节点误差 = " + ShortNumberText(*column.finalError) + "，最大误差 = " + ShortNumberText(*column.maxError);
    }
    return line;
}

}  // namespace

void AddOdeChecks(std::string_view command, const RunFacts& facts, std::string_view exactText, CheckResults& results) {
    const auto method = std::find_if(std::begin(kMethods), std::end(kMethods),
                                     [command](const OdeMethod& m) { return m.command == command; });
    if (method == std::end(kMethods) || !facts.equation || facts.first.empty()) return;
    const RunFacts::Equation& equation = *facts.equation;

    std::string prepared = equation.function;
    PrepareExpression(prepared);
    const std::optional<TypedFunction> exact =
        exactText.empty() ? std::nullopt : std::optional<TypedFunction>(std::in_place, exactText);
    const Refinement run{equation, CompiledExpression::ForXY(prepared, 'y'), facts.first.front(),
                         exact ? &*exact : nullptr};
    AdamsStarts adamsStarts = AdamsStarts::RungeKutta;
    if (exact && std::isfinite(exact->CheckValueAt(equation.a))) adamsStarts = AdamsStarts::ExactSolution;

    const auto [middleFirst, middleSecond] = LastValues(command, run, 2 * equation.divisions, adamsStarts);
    const auto [fineFirst, fineSecond] = LastValues(command, run, 4 * equation.divisions, adamsStarts);

    std::vector<ColumnCheck> columns{
        {facts.firstHeading, ObservedOrder(facts.first.back(), middleFirst, fineFirst), method->firstOrder, {}, {}},
        {facts.secondHeading, ObservedOrder(facts.second.back(), middleSecond, fineSecond), method->secondOrder, {}, {}},
    };
    if (exact) {
        for (auto [column, values] : {std::pair{&columns[0], &facts.first}, std::pair{&columns[1], &facts.second}}) {
            const Errors errors = ErrorsAgainst(*exact, facts.nodes, *values);
            column->finalError = errors.last;
            column->maxError = errors.largest;
        }
    }

    results.lines.push_back("观测阶由 n=" + IndexText(equation.divisions) + "、2n、4n 等分时末节点的值估计（Richardson 外推）。");
    if (command == "UsDi_Adams") {
        results.lines.push_back(adamsStarts == AdamsStarts::ExactSolution ? "2n、4n 等分所需的附加初始值取自精确解 y(x)。"
                                                                          : "2n、4n 等分所需的附加初始值取自四阶龙格-库塔公式。");
    }
    for (const ColumnCheck& column : columns) results.lines.push_back(ColumnLine(column));
    if (!exact) {
        results.lines.push_back("未给出精确解 y(x)，不计算误差。");
    } else if (!columns[0].finalError || !columns[1].finalError) {
        results.lines.push_back("精确解 y(x) 在节点上无法计算（或误差非有限），误差无法给出。");
    }
    results.columns = std::move(columns);
}

}  // namespace koravin
