// The checks of the differential-equation windows: the order each column shows when the step is
// halved twice, and its errors against the exact solution typed beside the fields.

#include <algorithm>
#include <cmath>
#include <limits>
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

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

struct OdeMethod {
    std::string_view command;
    double firstOrder;
    double secondOrder;
};

constexpr OdeMethod kMethods[] = {{"UsDi_Euler", 1, 2}, {"UsDi_RungeKutta", 3, 4}, {"UsDi_Adams", 4, 4}};

// The four-step Adams formulas need the solution at the first four nodes.
constexpr int kAdamsStartNodes = 4;

struct Problem {
    const RunFacts::Equation& equation;
    CompiledExpression f;
    double y0;
};

// The method's two columns at the last node of the grid of `divisions` steps. Adams takes its
// three further start values from fourth-order Runge-Kutta on every grid, so that the runs
// compared differ in the step alone, whatever was typed for the table.
std::pair<double, double> LastValues(std::string_view command, const Problem& problem, int divisions) {
    const double h = OdeStep(problem.equation.a, problem.equation.b, divisions);
    const std::vector<double> x = OdeNodes(problem.equation.a, h, divisions);
    OdeSolution solution;
    if (command == "UsDi_Euler") {
        solution = EulerColumns(x, h, problem.f, problem.y0);
    } else if (command == "UsDi_RungeKutta") {
        solution = RungeKuttaColumns(x, h, problem.f, problem.y0);
    } else {
        const std::span<const double> startNodes = std::span(x).first(std::min<std::size_t>(kAdamsStartNodes, x.size()));
        const std::vector<double> starts = RungeKuttaColumns(startNodes, h, problem.f, problem.y0).second;
        solution = AdamsColumns(x, h, problem.f, starts);
    }
    return {solution.first.back(), solution.second.back()};
}

// Richardson: with errors C·hᵖ, (Yₙ − Y₂ₙ) / (Y₂ₙ − Y₄ₙ) = 2ᵖ. The differences must stand well
// above the rounding a run of 4n steps gathers, typically √(4n)·ε·max|y|: a hundred times it
// leaves the order within a few hundredths. Below that they are mostly rounding, and so is
// their ratio.
std::optional<double> ObservedOrder(double coarse, double middle, double fine, int divisions, double scale) {
    const double rounding = std::sqrt(4.0 * divisions) * kEpsilon * scale;
    const double finer = std::fabs(middle - fine);
    if (!(finer > 100 * rounding)) return std::nullopt;
    return FiniteOrNothing(std::log2(std::fabs(coarse - middle) / finer));
}

double LargestMagnitude(const std::vector<double>& values) {
    double largest = 0;
    for (const double v : values) largest = std::max(largest, std::fabs(v));
    return largest;
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

// Whether y(x) is the solution of this initial value problem, or the line that says why not.
// y(a) must be y0 to within the rounding of evaluating it. And y′ = f(x, y) must hold at the
// quarter points of [a, b], y′ by a central difference: where the difference at the steps h and
// 2h agree, a mismatch of more than 0.1 % of the larger side beyond their disagreement is not
// rounding or truncation.
std::optional<std::string> ExactSolutionMismatch(const TypedFunction& exact, const Problem& problem) {
    const double a = problem.equation.a;
    const double ya = exact.CheckValueAt(a);
    if (std::isfinite(ya) && std::fabs(ya - problem.y0) > 1e-9 * std::max(1.0, std::fabs(problem.y0))) {
        return "精确解 y(x) 与初值不符：y(" + NumberText(a) + ") = " + NumberText(ya) + "，而 y0 = " + NumberText(problem.y0) +
               "；它不是这个初值问题的解，不计算误差。";
    }
    for (int k = 1; k <= 3; ++k) {
        const double x = a + (problem.equation.b - a) * k / 4;
        const double h = std::cbrt(kEpsilon) * std::max(1.0, std::fabs(x));
        const auto quotient = [&](double step) {
            return (exact.CheckValueAt(x + step) - exact.CheckValueAt(x - step)) / (2 * step);
        };
        const double y = exact.CheckValueAt(x);
        const double slope = quotient(h);
        const double coarse = quotient(2 * h);
        const double f = problem.f.InsertValueXY(x, y);
        if (!std::isfinite(y) || !std::isfinite(slope) || !std::isfinite(coarse) || !std::isfinite(f)) continue;
        const double allowance = 1e-3 * std::max(std::fabs(slope), std::fabs(f)) + 10 * std::fabs(coarse - slope) +
                                 100 * kEpsilon * std::max(1.0, std::fabs(y)) / h;
        if (std::fabs(slope - f) > allowance) {
            return "精确解 y(x) 不满足方程：x = " + NumberText(x) + " 处 y'(x) ≈ " + ShortNumberText(slope) + "，而 f(x, y(x)) = " +
                   ShortNumberText(f) + "；它不是这个方程的解，不计算误差。";
        }
    }
    return std::nullopt;
}

std::string ColumnLine(const ColumnCheck& column, bool observable) {
    std::string line = column.heading + "：观测阶";
    if (column.observedOrder) {
        line += " ≈ " + ShortNumberText(*column.observedOrder);
    } else {
        line += observable ? "在此步长下无法观测（n、2n、4n 的末节点值之差在舍入误差之内）" : "无法观测";
    }
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
    const Problem problem{equation, CompiledExpression::ForXY(prepared, 'y'), facts.first.front()};
    const bool adams = command == "UsDi_Adams";
    // With n ≤ 3 every node of the table is a typed start value: Adams computed nothing.
    const bool observable = !adams || equation.divisions >= kAdamsStartNodes;

    std::vector<ColumnCheck> columns{{facts.firstHeading, std::nullopt, method->firstOrder, {}, {}},
                                     {facts.secondHeading, std::nullopt, method->secondOrder, {}, {}}};
    if (observable) {
        const auto [coarseFirst, coarseSecond] =
            adams ? LastValues(command, problem, equation.divisions) : std::pair(facts.first.back(), facts.second.back());
        const auto [middleFirst, middleSecond] = LastValues(command, problem, 2 * equation.divisions);
        const auto [fineFirst, fineSecond] = LastValues(command, problem, 4 * equation.divisions);
        columns[0].observedOrder =
            ObservedOrder(coarseFirst, middleFirst, fineFirst, equation.divisions, LargestMagnitude(facts.first));
        columns[1].observedOrder =
            ObservedOrder(coarseSecond, middleSecond, fineSecond, equation.divisions, LargestMagnitude(facts.second));
    }

    std::optional<std::string> mismatch;
    if (!exactText.empty()) {
        const TypedFunction exact(exactText);
        mismatch = ExactSolutionMismatch(exact, problem);
        if (!mismatch) {
            for (auto [column, values] : {std::pair{&columns[0], &facts.first}, std::pair{&columns[1], &facts.second}}) {
                const Errors errors = ErrorsAgainst(exact, facts.nodes, *values);
                column->finalError = errors.last;
                column->maxError = errors.largest;
            }
        }
    }

    if (!observable) {
        results.lines.push_back("n ≤ 3：表中各节点的值都是给定的初始值，阿达姆斯公式一步也没有算，观测阶无法观测。");
    } else {
        results.lines.push_back("观测阶由 n=" + IndexText(equation.divisions) + "、2n、4n 等分时末节点的值估计（Richardson 外推）。");
        if (adams) results.lines.push_back("这三次计算的附加初始值都取自四阶龙格-库塔公式，不用表中给定的值。");
    }
    for (const ColumnCheck& column : columns) results.lines.push_back(ColumnLine(column, observable));
    if (exactText.empty()) {
        results.lines.push_back("未给出精确解 y(x)，不计算误差。");
    } else if (mismatch) {
        results.lines.push_back(*mismatch);
    } else if (!columns[0].finalError || !columns[1].finalError) {
        results.lines.push_back("精确解 y(x) 在节点上无法计算（或误差非有限），误差无法给出。");
    }
    results.columns = std::move(columns);
}

}  // namespace koravin
