// The checks of the nonlinear methods: |f(x)|, the order of convergence the steps show, and for
// the fixed-point family what φ' says of the iteration.

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

enum class Kind { Bisection, FixedPoint, Accelerated, Aitken, Newton, Secant };

struct NonlinearMethod {
    std::string_view command;
    double theoreticalOrder;
    Kind kind;
};

// The accelerated iteration goes on from the plain iterate and only reports the accelerated
// value, so its values converge at the plain iteration's linear rate: order 1.
constexpr NonlinearMethod kMethods[] = {
    {"CalculateDichotomy", 1, Kind::Bisection}, {"CalculateIterative", 1, Kind::FixedPoint},
    {"IterativeSpeedUp", 1, Kind::Accelerated}, {"CalculateAitken", 2, Kind::Aitken},
    {"CalculateNewton", 2, Kind::Newton},       {"CalculateXianJie", std::numbers::phi, Kind::Secant},
};

const NonlinearMethod* MethodOf(std::string_view command) {
    const auto method = std::find_if(std::begin(kMethods), std::end(kMethods),
                                     [command](const NonlinearMethod& m) { return m.command == command; });
    return method == std::end(kMethods) ? nullptr : method;
}

bool IteratesPhi(Kind kind) { return kind == Kind::FixedPoint || kind == Kind::Accelerated || kind == Kind::Aitken; }

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// A step within about a thousand roundings of x is mostly rounding of f near the root; its ratio
// to the step before says nothing about the method.
constexpr double kNoiseRoundings = 1024;
// Two successive estimates of the order within 15 % of each other: the steps are in the range
// where eₖ₊₁ ≈ C·eₖᵖ holds, and the estimate means something. The secant method's estimates
// swing about φ by up to that much even there, its error following eₖ₊₁ ≈ C·eₖ·eₖ₋₁ instead;
// steps still far from the root swing by more (Newton on x²-2 from 10: 1.16, then 1.46).
constexpr double kSettledOrder = 0.15;

struct OrderEstimate {
    enum class State { TooFewSteps, NotSettled, Settled };
    State state = State::TooFewSteps;
    double earlier = 0;  // from the three differences before the last
    double last = 0;     // from the last three
};

// With dₖ = |xₖ − xₖ₋₁| ≈ eₖ₋₁ and eₖ₊₁ ≈ C·eₖᵖ, p ≈ log(dₖ₊₁/dₖ) / log(dₖ/dₖ₋₁): exactly p once
// the steps follow the law, anything before. So the estimate counts only when the one from the
// last three differences above rounding agrees with the one from the three before.
OrderEstimate EstimateOrder(const std::vector<double>& iterates) {
    std::vector<double> d;
    for (std::size_t k = 1; k < iterates.size(); ++k) {
        const double difference = std::fabs(iterates[k] - iterates[k - 1]);
        const double noise = kNoiseRoundings * kEpsilon * std::max(1.0, std::fabs(iterates[k]));
        if (!std::isfinite(difference)) return {};
        if (difference <= noise) break;
        d.push_back(difference);
    }
    if (d.size() < 4) return {};
    const auto order = [&](std::size_t k) { return std::log(d[k] / d[k - 1]) / std::log(d[k - 1] / d[k - 2]); };
    const std::size_t last = d.size() - 1;
    OrderEstimate estimate{OrderEstimate::State::NotSettled, order(last - 1), order(last)};
    if (!std::isfinite(estimate.earlier) || !std::isfinite(estimate.last)) return {};
    if (std::fabs(estimate.last - estimate.earlier) <= kSettledOrder * std::fabs(estimate.last)) {
        estimate.state = OrderEstimate::State::Settled;
    }
    return estimate;
}

struct Slope {
    double value;
    double noise;  // what the difference quotient cannot tell from 0
};

// φ′(x) by a central difference whose step balances truncation and rounding; its error is judged
// from the rounding of φ over the step and from the change when the step is doubled.
std::optional<Slope> SlopeAt(const TypedFunction& phi, double x) {
    const double h = std::cbrt(kEpsilon) * std::max(1.0, std::fabs(x));
    const auto quotient = [&](double step) { return (phi.CheckValueAt(x + step) - phi.CheckValueAt(x - step)) / (2 * step); };
    const double slope = quotient(h);
    const double coarse = quotient(2 * h);
    const double rounding = 16 * kEpsilon * std::max(1.0, std::fabs(phi.CheckValueAt(x))) / h;
    if (!std::isfinite(slope) || !std::isfinite(coarse)) return std::nullopt;
    return Slope{slope, rounding + 2 * std::fabs(coarse - slope)};
}

std::string OrderLine(const OrderEstimate& order, double theoretical) {
    const std::string theory = "理论收敛阶 " + ShortNumberText(theoretical);
    switch (order.state) {
        case OrderEstimate::State::TooFewSteps: return "迭代步数太少，无法估计收敛阶；" + theory;
        case OrderEstimate::State::NotSettled:
            return "收敛阶无法估计：最后几步还没有进入渐近范围（相继两次估计 " + ShortNumberText(order.earlier) + "、" +
                   ShortNumberText(order.last) + " 相差超过 15%）；" + theory;
        case OrderEstimate::State::Settled: break;
    }
    return "收敛阶估计 p ≈ " + ShortNumberText(order.last) + "（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），" + theory;
}

// What |φ′| near the root says. φ′(α) = 0 makes x = φ(x) converge with order 2 or more; |φ′(α)|
// below 1 linearly with that factor; above 1 the iteration is pushed away from the root. Aitken's
// step converges whatever |φ′(α)| is, as long as φ′(α) ≠ 1.
std::string SlopeLine(Kind kind, const Slope& slope, bool superlinear) {
    const double s = std::fabs(slope.value);
    const std::string rate = ShortNumberText(s);
    const bool zero = s <= slope.noise || superlinear;
    const bool one = std::fabs(s - 1) <= slope.noise;
    if (kind == Kind::Aitken) {
        if (zero) return "|φ'(x)| ≈ " + rate + "，即 φ'(根) = 0：单独用 x=φ(x) 迭代已至少二阶收敛。";
        if (one) return "|φ'(x)| ≈ 1：单独用 x=φ(x) 迭代至多极慢地收敛；φ'(根) = 1 时埃特金加速法也只线性收敛。";
        if (s < 1) return "|φ'(x)| ≈ " + rate + " < 1：单独用 x=φ(x) 迭代也线性收敛，每步误差约乘以 " + rate + "；埃特金加速法是二阶的。";
        return "|φ'(x)| ≈ " + rate + " > 1：单独用 x=φ(x) 迭代在根附近发散；埃特金加速法不要求 |φ'| < 1，只要 φ'(根) ≠ 1。";
    }
    if (zero) return "|φ'(x)| ≈ " + rate + "，即 φ'(根) = 0：x=φ(x) 的迭代在根附近至少二阶收敛。";
    if (one) return "|φ'(x)| ≈ 1：x=φ(x) 的迭代在根附近至多极慢地收敛，步长小不说明误差小。";
    if (s < 1) return "|φ'(x)| ≈ " + rate + " < 1：x=φ(x) 的迭代在根附近线性收敛，每步误差约乘以 " + rate + "。";
    return "|φ'(x)| ≈ " + rate + " > 1：x=φ(x) 的迭代在根附近发散，步长变小并不说明已收敛。";
}

}  // namespace

void AddNonlinearKeys(std::string_view command, CheckResults& results) {
    const NonlinearMethod* method = MethodOf(command);
    if (method == nullptr) return;
    results.add("abs_f", std::nullopt);
    results.add("order_estimate", std::nullopt);
    results.add("theoretical_order", method->theoreticalOrder);
    if (IteratesPhi(method->kind)) results.add("abs_dphi", std::nullopt);
}

void AddNonlinearChecks(std::string_view command, const RunFacts& facts, std::string_view f, CheckResults& results) {
    const NonlinearMethod* method = MethodOf(command);
    if (method == nullptr || facts.iterates.empty()) return;
    const double x = facts.iterates.back();
    const TypedFunction function(f);

    const std::optional<double> absF = FiniteOrNothing(std::fabs(function.CheckValueAt(x)));
    results.add("abs_f", absF);
    results.lines.push_back(absF ? "|f(x)| = " + ShortNumberText(*absF) + "，x = " + NumberText(x)
                                 : "f(x) 在 x = " + NumberText(x) + " 处无法计算。");

    // Bisection keeps a sign change of f between the ends of its interval, and so a root, only
    // when the typed interval had one; without it the interval shrinks onto an end.
    if (method->kind == Kind::Bisection && facts.lastBracket) {
        const auto [a, b] = *facts.lastBracket;
        const double fa = function.CheckValueAt(a);
        const double fb = function.CheckValueAt(b);
        if (fa * fb <= 0) {
            results.lines.push_back("最后的区间 [" + NumberText(a) + ", " + NumberText(b) +
                                    "] 上 f(a)·f(b) ≤ 0：f 连续时根在其中，|x-根| ≤ " + ShortNumberText(std::fabs(b - a)) + "。");
        } else if (fa * fb > 0 && function.CheckValueAt(x) != 0) {  // not where f is NaN at an end
            results.add("order_estimate", std::nullopt);
            results.add("theoretical_order", method->theoreticalOrder);
            results.lines.push_back("初始区间两端 f(x) 同号，二分法没有夹住根：x 不是 f(x)=0 的根，区间只是缩向了一端。");
            return;
        }
    }

    const OrderEstimate order = EstimateOrder(facts.iterates);
    const bool settled = order.state == OrderEstimate::State::Settled;
    results.add("order_estimate", settled ? std::optional(order.last) : std::nullopt);
    results.add("theoretical_order", method->theoreticalOrder);
    results.lines.push_back(OrderLine(order, method->theoreticalOrder));
    // Newton's method converges only linearly to a multiple root.
    if (settled && method->kind == Kind::Newton && order.last < 1.5) {
        results.lines.push_back("牛顿法在此只显示约 1 阶收敛：根可能是重根。");
    }

    if (!IteratesPhi(method->kind)) return;
    std::optional<Slope> slope;
    if (facts.iterationFunction) slope = SlopeAt(TypedFunction(*facts.iterationFunction), x);
    results.add("abs_dphi", slope ? std::optional(std::fabs(slope->value)) : std::nullopt);
    // The plain iteration's steps show φ′(α) = 0 by converging faster than linearly; Aitken's
    // steps converge fast whatever φ′ is.
    const bool superlinear = method->kind != Kind::Aitken && settled && order.last >= 1.5;
    results.lines.push_back(slope ? SlopeLine(method->kind, *slope, superlinear) : "φ'(x) 在 x 处无法计算。");
}

}  // namespace koravin
