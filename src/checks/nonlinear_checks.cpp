#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "checks/check_families.h"
#include "checks/check_text.h"
#include "nonlinear/nonlinear_common.h"
#include "numbers/number_conversions.h"

namespace koravin {
namespace {

struct NonlinearMethod {
    std::string_view command;
    double theoreticalOrder;
    bool fixedPoint;  // iterates x = φ(x)
};

// The accelerated iteration goes on from the plain iterate and only reports the accelerated
// value, so its values converge at the plain iteration's linear rate: order 1.
constexpr NonlinearMethod kMethods[] = {
    {"CalculateDichotomy", 1, false}, {"CalculateIterative", 1, true}, {"IterativeSpeedUp", 1, true},
    {"CalculateAitken", 2, true},     {"CalculateNewton", 2, false},   {"CalculateXianJie", std::numbers::phi, false},
};

// A step within about a thousand roundings of x is mostly rounding of f near the root; its ratio
// to the step before says nothing about the method.
constexpr double kNoiseRoundings = 1024;

// p ≈ log(dₖ₊₁/dₖ) / log(dₖ/dₖ₋₁) with dₖ = |xₖ − xₖ₋₁|, from the last three differences that
// are above rounding noise.
std::optional<double> OrderEstimate(const std::vector<double>& iterates) {
    std::vector<double> differences;
    for (std::size_t k = 1; k < iterates.size(); ++k) {
        const double d = std::fabs(iterates[k] - iterates[k - 1]);
        const double noise = kNoiseRoundings * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(iterates[k]));
        if (!std::isfinite(d)) return std::nullopt;
        if (d <= noise) break;
        differences.push_back(d);
    }
    if (differences.size() < 3) return std::nullopt;
    const std::size_t last = differences.size() - 1;
    const double p = std::log(differences[last] / differences[last - 1]) /
                     std::log(differences[last - 1] / differences[last - 2]);
    if (!std::isfinite(p)) return std::nullopt;
    return p;
}

// φ′(x) by a central difference whose step balances truncation and rounding.
std::optional<double> Slope(const TypedFunction& phi, double x) {
    const double h = std::cbrt(std::numeric_limits<double>::epsilon()) * std::max(1.0, std::fabs(x));
    const double slope = (phi.CheckValueAt(x + h) - phi.CheckValueAt(x - h)) / (2 * h);
    if (!std::isfinite(slope)) return std::nullopt;
    return slope;
}

}  // namespace

void AddNonlinearChecks(std::string_view command, const RunFacts& facts, std::string_view f, CheckResults& results) {
    const auto method = std::find_if(std::begin(kMethods), std::end(kMethods),
                                     [command](const NonlinearMethod& m) { return m.command == command; });
    if (method == std::end(kMethods) || facts.iterates.empty()) return;
    const double x = facts.iterates.back();

    const std::optional<double> absF = FiniteOrNothing(std::fabs(TypedFunction(f).CheckValueAt(x)));
    results.add("abs_f", absF);
    results.lines.push_back(absF ? "|f(x)| = " + ShortNumberText(*absF) + "，x = " + NumberText(x)
                                 : "f(x) 在 x = " + NumberText(x) + " 处无法计算。");

    const std::optional<double> order = OrderEstimate(facts.iterates);
    results.add("order_estimate", order);
    results.add("theoretical_order", method->theoreticalOrder);
    const std::string theory = "理论收敛阶 " + ShortNumberText(method->theoreticalOrder);
    results.lines.push_back(order ? "收敛阶估计 p ≈ " + ShortNumberText(*order) + "（由最后三步的 |x(k)-x(k-1)| 估计），" + theory
                                  : "迭代步数太少，无法估计收敛阶；" + theory);
    // Newton's method converges only linearly to a multiple root.
    if (order && command == "CalculateNewton" && *order < 1.5) {
        results.lines.push_back("牛顿法在此只显示约 1 阶收敛：根可能是重根。");
    }

    if (!method->fixedPoint) return;
    std::optional<double> absSlope;
    if (facts.iterationFunction) {
        if (const auto slope = Slope(TypedFunction(*facts.iterationFunction), x)) absSlope = std::fabs(*slope);
    }
    results.add("abs_dphi", absSlope);
    if (!absSlope) {
        results.lines.push_back("φ'(x) 在 x 处无法计算。");
    } else if (*absSlope < 1) {
        const std::string rate = ShortNumberText(*absSlope);
        results.lines.push_back("|φ'(x)| ≈ " + rate + " < 1：x=φ(x) 的迭代在根附近线性收敛，每步误差约乘以 " + rate + "。");
    } else {
        results.lines.push_back("|φ'(x)| ≈ " + ShortNumberText(*absSlope) + " ≥ 1：x=φ(x) 的迭代在此不收敛。");
    }
}

}  // namespace koravin
