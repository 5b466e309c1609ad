// The nonlinear checks on roots and iteration functions known in closed form: an order only from
// steps that show one, what |φ'(α)| means for each method, bisection without a root.

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks/check_text.h"
#include "checks/checked_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::IsNull;
using testing::RunChecked;
using testing::Value;

TEST(NonlinearChecks, EachVerdictSaysWhatTheStepsShow) {
    struct Case {
        std::string_view what;
        std::string_view command;
        std::string f;
        std::vector<std::string> replies;
        std::string block;
    };
    const Case cases[] = {
        // 10, 5.1, 2.746, 1.737, 1.444: still far from √2, the estimates 1.16 and 1.46 disagree.
        {"Newton far from a simple root: no order yet, and no multiple root", "CalculateNewton", "x^2-2", {"2*x", "10", "0.5"},
         CrLf({"|f(x)| = 0.08582，x = 1.44423809486623",
               "收敛阶无法估计：最后几步还没有进入渐近范围（相继两次估计 1.156、1.46 相差超过 15%）；理论收敛阶 2"})},
        // eₖ₊₁ = (2/3)eₖ at a triple root.
        {"Newton at a triple root converges linearly", "CalculateNewton", "(x-1)^3", {"3*(x-1)^2", "2", "1e-12"},
         CrLf({"|f(x)| = 7.075E-13，x = 1.0000891047881",
               "收敛阶估计 p ≈ 1（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 2",
               "牛顿法在此只显示约 1 阶收敛：根可能是重根。"})},
        // φ(x) = x/2 + 1/x is Newton's step for x² - 2: φ'(√2) = 1/2 - 1/2 = 0.
        {"φ'(α) = 0: order 2, not linear", "CalculateIterative", "x^2-2", {"x/2+1/x", "1", "1e-12"},
         CrLf({"|f(x)| = 1.421E-14，x = 1.41421356237309",
               "收敛阶估计 p ≈ 2（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 1",
               "|φ'(x)| ≈ 1.296E-11，即 φ'(根) = 0：x=φ(x) 的迭代在根附近至少二阶收敛。"})},
        // φ(x) = x + x² - 2: φ'(√2) = 1 + 2√2.
        {"Aitken converges where plain iteration would not", "CalculateAitken", "x^2-2", {"x+(x^2-2)", "1.5", "1e-12"},
         CrLf({"|f(x)| = 4.219E-14，x = 1.41421356237311",
               "收敛阶估计 p ≈ 2.002（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 2",
               "|φ'(x)| ≈ 3.828 > 1：单独用 x=φ(x) 迭代在根附近发散；埃特金加速法不要求 |φ'| < 1，只要 φ'(根) ≠ 1。"})},
        // φ(x) = x - (x² - 2)/4: φ'(√2) = 1 - √2/2.
        {"Aitken where plain iteration converges too", "CalculateAitken", "x^2-2", {"x-(x^2-2)/4", "1", "1e-12"},
         CrLf({"|f(x)| = 1.421E-14，x = 1.41421356237309",
               "收敛阶估计 p ≈ 1.994（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 2",
               "|φ'(x)| ≈ 0.2929 < 1：单独用 x=φ(x) 迭代也线性收敛，每步误差约乘以 0.2929；埃特金加速法是二阶的。"})},
        {"bisection without a sign change ends on no root", "CalculateDichotomy", "x^2-2", {"3", "5", "1e-6"},
         CrLf({"|f(x)| = 23，x = 4.99999904632568",
               "初始区间两端 f(x) 同号，二分法没有夹住根：x 不是 f(x)=0 的根，区间只是缩向了一端。"})},
        {"bisection with one encloses the root", "CalculateDichotomy", "x^2-2", {"1", "2", "1e-6"},
         CrLf({"|f(x)| = 1.617E-06，x = 1.41421413421631",
               "最后的区间 [1.41421318054199, 1.41421413421631] 上 f(a)·f(b) ≤ 0：f 连续时根在其中，|x-根| ≤ 9.537E-07。",
               "收敛阶估计 p ≈ 1（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 1"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunChecked(c.command, {.editor = c.f, .replies = c.replies}).block(), c.block);
    }
}

TEST(NonlinearChecks, TheSlopeIsThatOfTheClosedForm) {
    const auto slope = [](std::string_view command, std::string phi, std::string start) {
        return Value(RunChecked(command, {.editor = "x^2-2", .replies = {std::move(phi), std::move(start), "1e-12"}}).results,
                     "abs_dphi");
    };
    const double aitken = slope("CalculateAitken", "x+(x^2-2)", "1.5");
    EXPECT_NEAR(aitken, 1 + 2 * std::numbers::sqrt2, 1e-8);
    const double newton = slope("CalculateIterative", "x/2+1/x", "1");
    EXPECT_LT(newton, 1e-9);
}

// Every key of the method is there when the run ends with a message; the theoretical order,
// a constant, keeps its value.
TEST(NonlinearChecks, ARunThatEndsWithAMessageKeepsEveryKey) {
    struct Case {
        std::string_view command;
        std::vector<std::string> replies;
        double order;
        bool phi;
    };
    for (const Case& c : {Case{"CalculateIterative", {"x^2+1", "1", "1e-12"}, 1, true},
                          Case{"CalculateAitken", {"x^2+1", "1", "1e-12"}, 2, true},
                          Case{"CalculateNewton", {"x-x", "1", "1e-12"}, 2, false}}) {
        SCOPED_TRACE(c.command);
        const testing::CheckedRun run = RunChecked(c.command, {.editor = "x^2-2", .replies = c.replies});
        EXPECT_EQ(run.block(), "运行以提示信息结束，无法检验。");
        EXPECT_TRUE(IsNull(run.results, "abs_f"));
        EXPECT_TRUE(IsNull(run.results, "order_estimate"));
        EXPECT_EQ(Value(run.results, "theoretical_order"), c.order);
        EXPECT_EQ(IsNull(run.results, "abs_dphi"), c.phi);
        EXPECT_EQ(run.results.find("abs_dphi") != nullptr, c.phi);
    }
}

}  // namespace
}  // namespace koravin
