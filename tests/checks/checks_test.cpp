#include "checks/checks.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks/check_text.h"
#include "checks/checked_run.h"
#include "checks/hilbert.h"
#include "numbers/number_conversions.h"

namespace koravin {
namespace {

using testing::CheckedRun;
using testing::CommandScript;
using testing::IsNull;
using testing::RunChecked;
using testing::Value;

// H(i, j) = 1/(i + j - 1), right-hand side 1.
std::string Hilbert(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) text += "1/" + std::to_string(i + j - 1) + " ";
        text += "1\r\n";
    }
    return text;
}

// ‖H‖∞·‖H⁻¹‖∞ with the integer inverse known in closed form.
double HilbertCondition(int n) {
    double norm = 0;
    double inverseNorm = 0;
    for (int i = 1; i <= n; ++i) {
        double row = 0;
        double inverseRow = 0;
        for (int j = 1; j <= n; ++j) {
            row += 1.0 / (i + j - 1);
            inverseRow += std::fabs(testing::HilbertInverse(n, i, j));
        }
        norm = std::max(norm, row);
        inverseNorm = std::max(inverseNorm, inverseRow);
    }
    return norm * inverseNorm;
}

const std::string kTridiagonal = "4 -1 0 1\r\n-1 4 -1 2\r\n0 -1 4 3";
const std::vector<std::string> kTridiagonalStart = {"3", "0", "0", "0"};

std::vector<std::string> Replies(std::vector<std::string> first, const std::vector<std::string>& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

std::map<std::string, std::string> Equation(std::string f, std::string divisions, std::string exact = "") {
    std::map<std::string, std::string> fields{{"Text1", f}, {"Text2", "0"}, {"Text3", "1"}, {"Text4", divisions}};
    if (!exact.empty()) fields["Exact"] = exact;
    return fields;
}

TEST(RunWithChecks, AppendsTheBlockAfterOneBlankLineAndOtherwiseLeavesTheRunAsItWas) {
    struct Case {
        std::string_view command;
        CommandScript script;
        std::string block;  // what follows the unchanged report
    };
    const std::string heading = "—— 检验 ——\r\n";
    const Case cases[] = {
        {"Gauss_1", {.editor = Hilbert(6), .replies = {"6"}, .digits = 4},
         "\r\n\r\n" + heading + "残差 ‖b-Ax‖∞ = 0.00424\r\n相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 3.076E-06\r\n"
         "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 2.907E+07\r\n"
         "解可能一位有效数字也不可信：按 |x̃-x| ≤ |A⁻¹|·|b-Ax̃|，舍入前的 x(4) 误差可达 15090。"},
        {"A_matrix", {.editor = kTridiagonal, .replies = {"3"}},
         "\r\n\r\n" + heading + "‖I-A·A⁻¹‖∞ = 6E-06（A⁻¹ 取报告中的逆矩阵）\r\n条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 2.571\r\n"
         "逆矩阵约有 5 位有效数字可信：保留 6 位小数时第 1 行第 2 列的元素 0.071429 只含 5 位有效数字。"},
        {"A_range", {.editor = kTridiagonal, .replies = {"3"}},
         "\r\n\r\n" + heading + "不舍入的 LU 分解所得行列式 = 56（报告为 56）"},
        {"JacobiDie", {.editor = kTridiagonal, .replies = Replies({"1e-8"}, kTridiagonalStart)},
         "\r\n\r\n" + heading + "雅可比迭代矩阵的谱半径 ρ(B) = 0.3536 < 1：对任何初值都收敛。\r\n"
         "实际迭代 19 次；按 ρ(B) 预计约 18 次（log e / log ρ(B)，e=1E-08）。\r\n"
         "最后一次迭代的改变量为 3.725E-09，停止检验只看它；误差约为它的 ρ(B)/(1-ρ(B)) 倍 ≈ 2.037E-09。\r\n"
         "最后迭代值的残差 ‖b-Ax‖∞ = 7.451E-09"},
        {"SorDie", {.editor = kTridiagonal, .replies = Replies({"1e-8"}, Replies(kTridiagonalStart, {"1.2"}))},
         "\r\n\r\n" + heading + "SOR 迭代矩阵（w=1.2）的谱半径 ρ(B) = 0.2 < 1：对任何初值都收敛。\r\n"
         "实际迭代 13 次；按 ρ(B) 预计约 12 次（log e / log ρ(B)，e=1E-08）。\r\n"
         "最后一次迭代的改变量为 9.575E-09，停止检验只看它；误差约为它的 ρ(B)/(1-ρ(B)) 倍 ≈ 2.394E-09。\r\n"
         "最后迭代值的残差 ‖b-Ax‖∞ = 2.774E-09"},
        {"CalculateNewton", {.editor = "x^2-2", .replies = {"2*x", "1", "1e-12"}},
         "\r\n\r\n" + heading + "|f(x)| = 1.421E-14，x = 1.41421356237309\r\n"
         "收敛阶估计 p ≈ 2（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 2"},
        // A report that ends with a line end gets one more.
        {"CalculateIterative", {.editor = "x^2-2", .replies = {"x-(x^2-2)/4", "1", "1e-12"}},
         "\r\n" + heading + "|f(x)| = 1.061E-12，x = 1.41421356237272\r\n"
         "收敛阶估计 p ≈ 0.9999（由最后几步的 |x(k)-x(k-1)| 估计，相继两次估计相符），理论收敛阶 1\r\n"
         "|φ'(x)| ≈ 0.2929 < 1：x=φ(x) 的迭代在根附近线性收敛，每步误差约乘以 0.2929。"},
        {"UsDi_RungeKutta", {.replies = {"1"}, .fields = Equation("y", "10", "exp(x)")},
         "\r\n" + heading + "观测阶由 n=10、2n、4n 等分时末节点的值估计（Richardson 外推）。\r\n"
         "三阶龙格-库塔公式Y(n)：观测阶 ≈ 2.938，理论阶 3；末节点误差 = 0.0001046，最大误差 = 0.0001046\r\n"
         "四阶龙格-库塔公式Y(n)：观测阶 ≈ 3.938，理论阶 4；末节点误差 = 2.084E-06，最大误差 = 2.084E-06"},
        // No checks for this command; a zero pivot ends the other with a message and no report.
        {"MatrixModel", {.editor = kTridiagonal, .replies = {"3"}}, ""},
        {"LU_break", {.editor = "1 2 3\r\n2 4 6", .replies = {"2"}, .previousReport = "old"}, ""},
        {"Gauss_1", {.replies = {""}, .previousReport = "kept"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const testing::CommandRun plain = testing::RunCommand(FindCommand(c.command)->run, c.script);
        const CheckedRun checked = RunChecked(c.command, c.script);
        EXPECT_EQ(checked.report, plain.report + c.block);
        EXPECT_EQ(checked.trace, plain.trace());
        EXPECT_EQ(RunChecked(c.command, c.script, CheckBlock::Omit).report, plain.report);
    }
}

// Every solver's answer goes to the checks in the typed order of the unknowns, whatever order the
// method found them in; the block is the checks' own text.
TEST(RunWithChecks, EverySolverHandsOnItsAnswerAndKeepsItsReport) {
    struct Case {
        std::string_view command;
        CommandScript script;
        std::string_view key;  // the residual of the answer, near 0 when it was handed on right
    };
    // x = (1, 2, 3); full pivoting exchanges columns here.
    const std::string system = "1 2 3 14\r\n4 5 6 32\r\n7 8 10 53";
    const Case cases[] = {
        {"GaussTier", {.editor = system, .replies = {"3"}}, "residual_inf"},
        {"GaussFull", {.editor = system, .replies = {"3"}}, "residual_inf"},
        {"LU_break", {.editor = system, .replies = {"3"}}, "residual_inf"},
        {"TierLU", {.editor = system, .replies = {"3"}}, "residual_inf"},
        {"SqrtRoot", {.editor = kTridiagonal, .replies = {"3"}}, "residual_inf"},
        {"MendSqrt", {.editor = kTridiagonal, .replies = {"3"}}, "residual_inf"},
        {"Purase", {.editor = kTridiagonal + "\r\n", .replies = {"3"}}, "residual_inf"},
        {"A_matrix", {.editor = system, .replies = {"3"}}, "inverse_residual_inf"},
        {"Gauss_SeidelDie", {.editor = kTridiagonal, .replies = Replies({"1e-8"}, kTridiagonalStart)}, "residual_inf"},
        {"CalculateDichotomy", {.editor = "x^2-2", .replies = {"1", "2", "1e-9"}}, "abs_f"},
        {"IterativeSpeedUp", {.editor = "x^2-2", .replies = {"x-(x^2-2)/4", "1", "0.3", "1e-9"}}, "abs_f"},
        {"CalculateAitken", {.editor = "x^2-2", .replies = {"x-(x^2-2)/4", "1", "1e-9"}}, "abs_f"},
        {"CalculateXianJie", {.editor = "x^2-2", .replies = {"1", "2", "1e-9", "1e-9"}}, "abs_f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const testing::CommandRun plain = testing::RunCommand(FindCommand(c.command)->run, c.script);
        const CheckedRun checked = RunChecked(c.command, c.script);
        EXPECT_LT(Value(checked.results, c.key), 1e-4);
        const std::string_view blankLine = plain.report.ends_with("\r\n") ? "\r\n" : "\r\n\r\n";
        EXPECT_EQ(checked.report, plain.report + std::string(blankLine) + "—— 检验 ——\r\n" + CheckBlockText(checked.results));
        EXPECT_EQ(RunChecked(c.command, c.script, CheckBlock::Omit).report, plain.report);
    }
}

TEST(RunWithChecks, ConditionOfHilbertMatricesMatchesTheExactInverse) {
    for (int n = 4; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const CheckedRun run = RunChecked("GaussTier", {.editor = Hilbert(n), .replies = {std::to_string(n)}});
        EXPECT_NEAR(Value(run.results, "condition_inf") / HilbertCondition(n), 1.0, 1e-6);
    }
}

// Facts as a run of order n would leave them, for the sizes and cases no test wants to run.
RunFacts DiagonalSystem(int n, double first) {
    RunFacts facts;
    facts.order = n;
    facts.system.assign(static_cast<std::size_t>(n) * (n + 1), 0.0);
    for (int i = 0; i < n; ++i) {
        facts.system[static_cast<std::size_t>(i) * (n + 1) + i] = i == 0 ? first : i + 1;
        facts.system[static_cast<std::size_t>(i) * (n + 1) + n] = 1;
    }
    facts.solution.assign(static_cast<std::size_t>(n), 0.0);
    return facts;
}

TEST(ComputeChecks, SaysInALineWhatCannotBeComputed) {
    struct Case {
        std::string_view command;
        RunFacts facts;
        std::string_view key;
        std::optional<double> value;
        std::string_view line;
    };
    RunFacts iterative = DiagonalSystem(501, 1);
    iterative.iterativeMethod = "Jacobi";
    iterative.tolerance = 1e-5;
    iterative.converged = true;
    iterative.finalIterate = iterative.solution;
    RunFacts told = DiagonalSystem(2, 1);
    told.toldMessage = true;
    const Case cases[] = {
        // diag(1..501): the estimate is exact for a diagonal matrix.
        {"Gauss_1", DiagonalSystem(501, 1), "condition_inf", 501, "条件数 κ∞(A) ≈ 501（阶数超过 500，为估计值）"},
        {"Gauss_1", DiagonalSystem(3, 0), "condition_inf", std::nullopt, "矩阵奇异：列主元消元遇到零主元，条件数为无穷大。"},
        {"Gauss_1", DiagonalSystem(3, 0), "trusted_digits", 0, "矩阵奇异：这个解不可信。"},
        {"JacobiDie", iterative, "spectral_radius", std::nullopt, "阶数超过 500，未计算谱半径。"},
        {"JacobiDie", iterative, "predicted_sweeps", std::nullopt, "实际迭代 0 次；无法按 ρ(B) 预计次数。"},
        {"LU_break", told, "residual_inf", std::nullopt, "运行以提示信息结束，无法检验。"},
        {"CalculateNewton", RunFacts{}, "abs_f", std::nullopt, "运行没有给出可检验的结果。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        StringPane pane;
        ScriptedInteraction user({}, {});
        const CommandContext context{"", pane, user, 6, {}, {}};
        const CheckResults results = ComputeChecks(*FindCommand(c.command), c.facts, context);
        ASSERT_NE(results.find(c.key), nullptr);
        const std::optional<double> value = *results.find(c.key);
        EXPECT_EQ(value.has_value(), c.value.has_value());
        if (value && c.value) {
            EXPECT_NEAR(*value, *c.value, 1e-9 * *c.value);
        }
        EXPECT_NE(std::find(results.lines.begin(), results.lines.end(), c.line), results.lines.end())
            << CheckBlockText(results);
    }
}

// Tridiagonal Toeplitz systems: Jacobi's radius is 2√(bc)/a·cos(π/(n+1)), Gauss-Seidel's its
// square, and relaxation's at the optimal factor w = 2/(1 + √(1 - ρ²)) is w - 1.
TEST(RunWithChecks, IterativeRunsShowTheRadiusAndTheSweepsItPredicts) {
    const int n = 8;
    std::string system;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) system += i == j ? "2 " : (std::abs(i - j) == 1 ? "-1 " : "0 ");
        system += "1\r\n";
    }
    const double jacobi = std::cos(std::numbers::pi / (n + 1));
    const double optimal = 2 / (1 + std::sqrt(1 - jacobi * jacobi));
    struct Case {
        std::string_view command;
        std::vector<std::string> relaxation;
        double radius;
    };
    for (const Case& c : {Case{"JacobiDie", {}, jacobi}, Case{"Gauss_SeidelDie", {}, jacobi * jacobi},
                          Case{"SorDie", {"1.2"}, std::nan("")}, Case{"SorDie", {std::to_string(optimal)}, optimal - 1}}) {
        SCOPED_TRACE(c.command);
        std::vector<std::string> replies{"1e-6", std::to_string(n)};
        replies.resize(2 + n, "0");
        replies.insert(replies.end(), c.relaxation.begin(), c.relaxation.end());
        const CheckedRun run = RunChecked(c.command, {.editor = system, .replies = replies});
        const double radius = Value(run.results, "spectral_radius");
        if (!std::isnan(c.radius)) {
            EXPECT_NEAR(radius, c.radius, 1e-6);
        }
        // At the optimal factor the dominant eigenvalue is defective (here, with w to 6 places,
        // nearly): ‖Bᵏ‖ falls like k·ρᵏ⁻¹, not ρᵏ, and the count log e / log ρ is not given.
        if (c.radius == optimal - 1) {
            EXPECT_TRUE(IsNull(run.results, "predicted_sweeps"));
            EXPECT_GT(Value(run.results, "eigenvalue_condition"), 1 / std::sqrt(1e-6));
        } else {
            EXPECT_EQ(Value(run.results, "predicted_sweeps"), std::ceil(std::log(1e-6) / std::log(radius)));
        }
        const std::string sweeps = "迭代" + ShortNumberText(Value(run.results, "sweeps")) + "次";
        EXPECT_NE(run.report.find(sweeps), std::string::npos) << run.report;
        EXPECT_LT(Value(run.results, "residual_inf"), 1e-5);
    }
}

TEST(RunWithChecks, NonlinearRunsShowTheirOrderOfConvergence) {
    struct Case {
        std::string_view command;
        std::string f;
        std::vector<std::string> replies;
        double order;
        double tolerance;
        std::optional<double> absDphi;
    };
    const Case cases[] = {
        {"CalculateNewton", "x^2-2", {"2*x", "1", "1e-12"}, 2, 0.05, std::nullopt},
        {"CalculateNewton", "(x-1)^2", {"2*(x-1)", "2", "1e-12"}, 1, 0.05, std::nullopt},
        {"CalculateXianJie", "x^2-2", {"1", "2", "1e-14", "1e-14"}, std::numbers::phi, 0.1, std::nullopt},
        {"CalculateDichotomy", "x^2-2", {"1", "2", "1e-6"}, 1, 1e-9, std::nullopt},
        // φ(x) = x - (x² - 2)/4 has φ'(√2) = 1 - √2/2.
        {"CalculateIterative", "x^2-2", {"x-(x^2-2)/4", "1", "1e-12"}, 1, 0.01, 1 - std::numbers::sqrt2 / 2},
        {"CalculateAitken", "x^2-2", {"x-(x^2-2)/4", "1", "1e-12"}, 2, 0.1, 1 - std::numbers::sqrt2 / 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f + " " + std::string(c.command));
        const CheckedRun run = RunChecked(c.command, {.editor = c.f, .replies = c.replies});
        EXPECT_NEAR(Value(run.results, "order_estimate"), c.order, c.tolerance);
        EXPECT_LT(Value(run.results, "abs_f"), 1e-5);
        if (c.absDphi) {
            EXPECT_NEAR(Value(run.results, "abs_dphi"), *c.absDphi, 1e-8);
        }
        const bool multiple = run.report.find("根可能是重根") != std::string::npos;
        EXPECT_EQ(multiple, c.command == "CalculateNewton" && c.order == 1);
    }
    const CheckedRun oneStep = RunChecked("CalculateNewton", {.editor = "x^2-2", .replies = {"2*x", "1", "1"}});
    EXPECT_TRUE(IsNull(oneStep.results, "order_estimate"));
}

// y' = y, y(0) = 1 on [0, 1]: every column's observed order is its method's, and its errors are
// those against e^x.
TEST(RunWithChecks, DifferentialEquationRunsShowObservedOrdersAndErrors) {
    const double e = std::numbers::e;
    const std::vector<std::string> adamsStarts = {"1", ExactText(std::exp(1.0 / 64)), ExactText(std::exp(2.0 / 64)),
                                                  ExactText(std::exp(3.0 / 64))};
    struct Case {
        std::string_view command;
        std::vector<std::string> replies;
        std::string exact;
        double firstOrder;
        double secondOrder;
        std::string_view startsLine;
    };
    const Case cases[] = {
        {"UsDi_Euler", {"1"}, "exp(x)", 1, 2, ""},
        {"UsDi_RungeKutta", {"1"}, "", 3, 4, ""},
        {"UsDi_Adams", adamsStarts, "exp(x)", 4, 4, "这三次计算的附加初始值都取自四阶龙格-库塔公式，不用表中给定的值。"},
        {"UsDi_Adams", adamsStarts, "", 4, 4, "这三次计算的附加初始值都取自四阶龙格-库塔公式，不用表中给定的值。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.exact);
        const CheckedRun run = RunChecked(c.command, {.replies = c.replies, .fields = Equation("y", "64", c.exact)});
        ASSERT_TRUE(run.results.columns.has_value());
        ASSERT_EQ(run.results.columns->size(), 2u);
        const double orders[] = {c.firstOrder, c.secondOrder};
        for (int k = 0; k < 2; ++k) {
            const ColumnCheck& column = (*run.results.columns)[static_cast<std::size_t>(k)];
            EXPECT_EQ(column.theoreticalOrder, orders[k]);
            ASSERT_TRUE(column.observedOrder.has_value());
            EXPECT_NEAR(*column.observedOrder, orders[k], 0.2) << column.heading;
            EXPECT_EQ(column.finalError.has_value(), !c.exact.empty());
            if (column.finalError) {
                // The errors grow with x, so the last is the largest.
                EXPECT_EQ(column.finalError, column.maxError);
                const std::string line = "；末节点误差 = " + ShortNumberText(*column.finalError);
                EXPECT_NE(run.report.find(column.heading + "：观测阶"), std::string::npos);
                EXPECT_NE(run.report.find(line), std::string::npos) << run.report;
                EXPECT_LT(*column.finalError, e * 0.02);
            }
        }
        EXPECT_EQ(run.report.find(c.startsLine) != std::string::npos, true);
    }
}

TEST(CheckText, NumbersKeepFourSignificantDigits) {
    struct Case {
        double value;
        std::string_view text;
    };
    for (const Case& c : {Case{29070279.003, "2.907E+07"}, Case{0.0042402, "0.00424"}, Case{2907.02, "2907"},
                          Case{9.99996, "10"}, Case{-0.353553, "-0.3536"}, Case{123456, "123500"},
                          Case{1234567, "1.235E+06"}, Case{3.0756e-6, "3.076E-06"}, Case{0, "0"},
                          Case{1e308 * 10, "Inf"}}) {
        EXPECT_EQ(ShortNumberText(c.value), c.text) << c.value;
    }
}

TEST(CheckResultsJson, WritesEveryValueOrNullAndTheColumnsInTableOrder) {
    CheckResults direct{.command = "Gauss_1"};
    direct.add("residual_inf", 0.5);
    direct.add("condition_inf", std::nullopt);
    EXPECT_EQ(CheckResultsJson(direct), R"j({"command": "Gauss_1", "checks": {"residual_inf": 0.5, "condition_inf": null}})j");

    CheckResults ode{.command = "UsDi_Euler"};
    ode.columns = {{"欧拉公式Y(n)", 1.0000000000000002, 1, 1e-300, std::nullopt}, {"\"q\"", std::nullopt, 2, {}, {}}};
    EXPECT_EQ(CheckResultsJson(ode),
              R"j({"command": "UsDi_Euler", "checks": {"columns": [{"heading": "欧拉公式Y(n)", "observed_order": )j"
              R"j(1.0000000000000002, "theoretical_order": 1, "final_error": 1e-300, "max_error": null}, {"heading": )j"
              R"j("\"q\"", "observed_order": null, "theoretical_order": 2, "final_error": null, "max_error": null}]}})j");
    EXPECT_EQ(CheckResultsJson(CheckResults{.command = "MatrixModel"}), R"j({"command": "MatrixModel", "checks": {}})j");
}

}  // namespace
}  // namespace koravin
