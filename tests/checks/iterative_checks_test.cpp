// What the iteration matrix B says about a run of Jacobi, Gauss-Seidel or relaxation, where
// the spectrum is known in closed form: nilpotent and triangular B, |1 - w|, ±ρ of tridiagonal
// Toeplitz matrices, runs that give up.

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks/checked_run.h"
#include "command/run_facts.h"

namespace koravin {
namespace {

using testing::CommandScript;
using testing::CrLf;
using testing::IsNull;
using testing::RunChecked;
using testing::Value;

// Row i holds `row(i, j)` for j = 1..n and then b(i).
template <typename Row>
std::string System(int n, Row row, double b) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) text += std::to_string(row(i, j)) + " ";
        text += std::to_string(b) + "\r\n";
    }
    return text;
}

// The tolerance, the order, n zeros to start from, then whatever the method asks next.
std::vector<std::string> Replies(std::string tolerance, int n, std::vector<std::string> more = {}) {
    std::vector<std::string> replies{std::move(tolerance), std::to_string(n)};
    replies.resize(static_cast<std::size_t>(n) + 2, "0");
    replies.insert(replies.end(), more.begin(), more.end());
    return replies;
}

// I with ones below the diagonal and b = 1, so x = (1, 0, ..., 0). Jacobi's B is strictly lower
// triangular, Gauss-Seidel's is 0, relaxation's has 1 - w all down its diagonal.
const std::string kOnesBelow = System(60, [](int i, int j) { return j <= i ? 1 : 0; }, 1);

TEST(IterativeChecks, TheEigenvaluesOfTriangularMatricesSaysWhatTheRunDid) {
    struct Case {
        std::string_view command;
        std::vector<std::string> more;
        std::string block;
    };
    const Case cases[] = {
        {"JacobiDie", {},
         CrLf({"雅可比迭代矩阵的谱半径 ρ(B) = 0 < 1：对任何初值都收敛。",
               "实际迭代 61 次；B 是幂零矩阵，B^60 = 0：第 60 次迭代即得准确解，预计至多 61 次。",
               "第 60 次迭代起迭代值已是准确解，误差只剩舍入误差。", "最后迭代值的残差 ‖b-Ax‖∞ = 0"})},
        {"Gauss_SeidelDie", {},
         CrLf({"高斯-塞德尔迭代矩阵的谱半径 ρ(B) = 0 < 1：对任何初值都收敛。",
               "实际迭代 2 次；B = 0，第 1 次迭代即得准确解，预计至多 2 次（第 2 次的改变量为 0）。",
               "第 1 次迭代起迭代值已是准确解，误差只剩舍入误差。", "最后迭代值的残差 ‖b-Ax‖∞ = 0"})},
        // Sixty eigenvalues 1 - w = 0.5 in one chain: ρ exactly, but no count can rest on it.
        {"SorDie", {"0.5"},
         CrLf({"SOR 迭代矩阵（w=0.5）的谱半径 ρ(B) = 0.5 < 1：对任何初值都收敛。",
               "实际迭代 25 次；B 的特征值问题病态（有亏损的特征值）：误差可能先增长，再按 ρ(B)ᵏ 减小，无法按 ρ(B) 可靠地预计次数。",
               "最后一次迭代的改变量为 7.62E-06；误差无法按 ρ(B) 估计。", "最后迭代值的残差 ‖b-Ax‖∞ = 7.62E-06"})},
        // With w = 1.5 the error grows for so long first that 1000 sweeps do not see it fall.
        {"SorDie", {"1.5"},
         CrLf({"SOR 迭代矩阵（w=1.5）的谱半径 ρ(B) = 0.5 < 1：对任何初值都收敛。",
               "迭代 1001 次仍未满足精度，方法以提示信息结束；B 的特征值问题病态（有亏损的特征值）：误差可能先增长，再按 ρ(B)ᵏ 减小，"
               "无法按 ρ(B) 可靠地预计次数。",
               "最后迭代值的残差 ‖b-Ax‖∞ = 128"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + (c.more.empty() ? "" : " w=" + c.more[0]));
        const testing::CheckedRun run = RunChecked(c.command, {.editor = kOnesBelow, .replies = Replies("1e-5", 60, c.more)});
        EXPECT_EQ(run.block(), c.block);
    }
}

// A run that gives up is where ρ(B) explains it: the block stands alone in the emptied pane.
TEST(IterativeChecks, ARunThatGivesUpGetsItsSpectrumInsteadOfNoBlock) {
    struct Case {
        std::string_view what;
        std::string editor;
        std::vector<std::string> replies;
        std::string block;
        std::optional<double> predicted;
    };
    // 2 on the diagonal and -1 beside it: Jacobi's ρ = cos(π/41), k* = log(1E-08) / log ρ.
    const int n = 40;
    const double radius = std::cos(std::numbers::pi / (n + 1));
    const auto predicted = static_cast<long long>(std::ceil(std::log(1e-8) / std::log(radius)));
    const Case cases[] = {
        {"ρ(B) = √6 > 1: the iterates overflow", "1 2 1\r\n3 1 2", Replies("1e-5", 2),
         CrLf({"雅可比迭代矩阵的谱半径 ρ(B) = 2.449 ≥ 1：一般不收敛。",
               "第 793 次迭代时迭代值溢出，方法以提示信息结束；ρ(B) ≥ 1，无法按 ρ(B) 预计次数。",
               "最后迭代值的残差 ‖b-Ax‖∞：无法计算。"}),
         std::nullopt},
        {"ρ(B) < 1, but more sweeps than the limit",
         System(n, [](int i, int j) { return i == j ? 2 : (std::abs(i - j) == 1 ? -1 : 0); }, 1), Replies("1e-8", n),
         CrLf({"雅可比迭代矩阵的谱半径 ρ(B) = 0.9971 < 1：对任何初值都收敛。",
               "迭代 1001 次仍未满足精度，方法以提示信息结束；按 ρ(B) 预计约 " + std::to_string(predicted) +
                   " 次（log e / log ρ(B)，e=1E-08）。",
               "最后迭代值的残差 ‖b-Ax‖∞ = 0.06713"}),
         static_cast<double>(predicted)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CommandScript script{.editor = c.editor, .replies = c.replies, .previousReport = "old"};
        const testing::CheckedRun run = RunChecked("JacobiDie", script);
        EXPECT_EQ(run.report, "—— 检验 ——\r\n" + c.block);
        EXPECT_NE(run.trace.find("message\t本方法不适合解此线形方程组，请用其他方法再试一下#"), std::string::npos);
        EXPECT_EQ(RunChecked("JacobiDie", script, CheckBlock::Omit).report, "");
        EXPECT_EQ(*run.results.find("predicted_sweeps"), c.predicted);
        EXPECT_TRUE(IsNull(run.results, "error_estimate"));
    }
}

// The stop test looks at the last change; the error of the last iterate, against the solution in
// closed form, is about ρ/(1 - ρ) times it. Jacobi on [4 -1 0; -1 4 -1; 0 -1 4] has a symmetric B
// with eigenvalues ±√2/4 and 0: in the 2-norm the error lies between ρ/(1 + ρ) and ρ/(1 - ρ)
// times the change, and the largest entries differ from 2-norms by √3 at most. Gauss-Seidel's
// eigenvalues are 1/8, 0, 0: soon only the 1/8 component is left, and the ratio is exact.
TEST(IterativeChecks, TheErrorEstimateFromTheLastChangeHolds) {
    const std::vector<double> solution = {13.0 / 28, 6.0 / 7, 27.0 / 28};
    struct Case {
        std::string_view command;
        double radius;
        double least;  // the share of the estimate the true error reaches at least
        double most;   // and at most
    };
    const double jacobi = std::numbers::sqrt2 / 4;
    const double root3 = std::sqrt(3.0);
    for (const Case& c : {Case{"JacobiDie", jacobi, (1 - jacobi) / (1 + jacobi) / root3, root3},
                          Case{"Gauss_SeidelDie", 0.125, 0.99, 1.01}}) {
        for (const std::string tolerance : {"1e-4", "1e-8", "1e-12"}) {
            SCOPED_TRACE(std::string(c.command) + " e=" + tolerance);
            RunFacts facts;
            StringPane pane;
            ScriptedInteraction user(Replies(tolerance, 3), {});
            CommandContext context{"4 -1 0 1\r\n-1 4 -1 2\r\n0 -1 4 3", pane, user, 6, {}, {}, nullptr, &facts};
            const CommandInfo& info = *FindCommand(c.command);
            info.run(context);
            const CheckResults results = ComputeChecks(info, facts, context);
            EXPECT_NEAR(Value(results, "spectral_radius"), c.radius, 1e-15);
            double error = 0;
            for (std::size_t i = 0; i < 3; ++i) error = std::max(error, std::fabs(facts.finalIterate[i] - solution[i]));
            const double estimate = Value(results, "error_estimate");
            EXPECT_DOUBLE_EQ(estimate, c.radius / (1 - c.radius) * Value(results, "last_change"));
            EXPECT_LE(error, estimate * c.most);
            EXPECT_GE(error, estimate * c.least);
        }
    }
}

}  // namespace
}  // namespace koravin
