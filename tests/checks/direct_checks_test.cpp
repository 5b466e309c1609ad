// The verdict on how many digits of a solution or an inverse can be trusted: each case where a
// report once promised digits it did not have, and solutions known in closed form, against which
// the promise is counted.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks/checked_run.h"
#include "checks/hilbert.h"
#include "checks/trusted_digits.h"
#include "command/run_facts.h"
#include "numbers/number_conversions.h"

namespace koravin {
namespace {

using testing::CommandScript;
using testing::RunChecked;

TEST(TrustedDigits, CountsDigitsAsTheTextbooksDo) {
    struct Case {
        double value;
        double error;
        int digits;  // n with error ≤ ½·10^(m-n+1)
    };
    for (const Case& c : {Case{1.4e-6, 0.4e-6, 1}, Case{1.237298, 0.002731, 3}, Case{3.14159, 0.0000027, 6},
                          Case{-3.997005, 0.002995, 3}, Case{100, 0.5, 3}, Case{100, 0.51, 2}, Case{0.001, 0.01, -1},
                          Case{5, 0, 1000}, Case{5, INFINITY, -1000}}) {
        EXPECT_EQ(CorrectDigits(c.value, c.error), c.digits) << c.value << " ± " << c.error;
    }
    struct Printed {
        double value;
        int places;
        int digits;
    };
    for (const Printed& c : {Printed{1e-6, 6, 1}, Printed{0.017857, 6, 5}, Printed{-1, 6, 7}, Printed{1234.5, 2, 6},
                             Printed{1, 16, 15}, Printed{9.9999999999999999, 6, 8}, Printed{1e20, 0, 15}}) {
        EXPECT_EQ(PrintedDigits(c.value, c.places), c.digits) << c.value << " to " << c.places;
    }
}

// Each case of a verdict that promised what the report did not support, with the whole block.
TEST(DirectSolverChecks, TheVerdictTakesTheLimitThatHolds) {
    struct Case {
        std::string_view what;
        std::string_view command;
        CommandScript script;
        std::string block;
    };
    const Case cases[] = {
        {"the square-root method on a non-symmetric matrix: no correct digit (x = (1, 1, 1))", "SqrtRoot",
         {.editor = "4 1 2 7\r\n3 5 1 9\r\n2 1 6 9", .replies = {"3"}},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 3.185", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 0.2222", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 4.395",
                        "解可能一位有效数字也不可信：按 |x̃-x| ≤ |A⁻¹|·|b-Ax̃|，舍入前的 x(1) 误差可达 1.074。"})},
        {"a solution of 1.4E-06 printed to 6 places as 1E-06 carries one digit", "Gauss_1",
         {.editor = "1 0 1.4e-6\r\n0 1 2.8e-6", .replies = {"2"}},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 4E-07", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 0.1333", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 1",
                        "解约有 1 位有效数字可信：保留 6 位小数时 x(1)=1E-06 只含 1 位有效数字。"})},
        {"printed to 5 places it is 0 and carries none", "Gauss_1",
         {.editor = "1 0 1.4e-6\r\n0 1 2.8e-6", .replies = {"2"}, .digits = 5},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 2.8E-06", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞)：无法计算。", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 1",
                        "报告保留 5 位小数，解的各分量都印成了 0：解可能一位有效数字也不可信。"})},
        // x = (1.234567, -2.345678, 3.456789); elimination keeps 7 places of entries near 1E-05.
        {"entries of small scale rounded to 7 places leave 3 digits", "Gauss_1",
         {.editor = "4.1e-5 1.3e-5 2.7e-5 11.3456736e-5\r\n1.9e-5 5.3e-5 1.1e-5 -6.2839482e-5\r\n"
                    "2.3e-5 1.7e-5 6.1e-5 19.9382644e-5",
          .replies = {"3"}},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 1.969E-07", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 0.0005646",
                        "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 5.302",
                        "解约有 3 位有效数字可信：残差表明有的分量误差至少为 ‖b-Ax‖∞/‖A‖∞ ≈ 0.001949。"})},
        {"16 places: a report prints 15 significant digits", "Gauss_1",
         {.editor = "2 0 2\r\n0 4 8", .replies = {"2"}, .digits = 16},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 0", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 0", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 2",
                        "解约有 15 位有效数字可信：报告中的数最多印出 15 位有效数字。"})},
        {"16 places, and the rounding of the residual itself leaves 14", "Gauss_1",
         {.editor = "1 2 3\r\n3 4 7", .replies = {"2"}, .digits = 16},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 0", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 0", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 21",
                        "解约有 14 位有效数字可信：按 |x̃-x| ≤ |A⁻¹|·|b-Ax̃|，舍入前的 x(1) 误差可达 8.66E-15。"})},
        {"a zero pivot: Inf and NaN are no digits", "Gauss_1", {.editor = "0 1 1\r\n1 0 1", .replies = {"2"}},
         testing::CrLf({"残差 ‖b-Ax‖∞：无法计算。", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞)：无法计算。",
                        "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 1", "解中有 Inf 或 NaN：这个解不可信。"})},
        {"a matrix singular to working precision has no condition number", "GaussTier",
         {.editor = "1 1 2\r\n1 1.0000000000000002 2", .replies = {"2"}},
         testing::CrLf({"残差 ‖b-Ax‖∞：无法计算。", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞)：无法计算。",
                        "矩阵数值奇异：κ∞(A) 超过 1/ε ≈ 4.504E+15，舍入误差就足以使它奇异，条件数没有可靠的值。",
                        "解中有 Inf 或 NaN：这个解不可信。"})},
        {"b = 0: x = 0 has a residual of 0", "Gauss_1", {.editor = "2 1 0\r\n1 3 0", .replies = {"2"}},
         testing::CrLf({"残差 ‖b-Ax‖∞ = 0", "相对残差 ‖b-Ax‖∞/(‖A‖∞·‖x‖∞) = 0", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 3.2",
                        "b = 0，x = 0 代回方程组残差为 0：x = 0 正是方程组的解。"})},
        {"an inverse printed as zeros", "A_matrix", {.editor = "1e7 0\r\n0 2e7", .replies = {"2"}},
         testing::CrLf({"‖I-A·A⁻¹‖∞ = 1（A⁻¹ 取报告中的逆矩阵）", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 2",
                        "报告保留 6 位小数，逆矩阵的各元素都印成了 0：逆矩阵可能一位有效数字也不可信。"})},
        {"the inverse of the 6th Hilbert matrix to 6 places", "A_matrix",
         {.editor = "1 1/2 1/3 1/4 1/5 1/6\r\n1/2 1/3 1/4 1/5 1/6 1/7\r\n1/3 1/4 1/5 1/6 1/7 1/8\r\n"
                    "1/4 1/5 1/6 1/7 1/8 1/9\r\n1/5 1/6 1/7 1/8 1/9 1/10\r\n1/6 1/7 1/8 1/9 1/10 1/11",
          .replies = {"6"}},
         testing::CrLf({"‖I-A·A⁻¹‖∞ = 0.9852（A⁻¹ 取报告中的逆矩阵）", "条件数 κ∞(A) = ‖A‖∞·‖A⁻¹‖∞ = 2.907E+07",
                        "逆矩阵可能一位有效数字也不可信：按 |X-A⁻¹| ≤ |X|·|I-A·X|/(1-‖I-A·X‖∞)，舍入前的逆矩阵 X "
                        "中第 4 行第 3 列的元素误差可达 6.314E+07。"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunChecked(c.command, c.script).block(), c.block);
    }
}

struct Verdict {
    std::optional<double> promised;
    int actual = 0;   // the correct digits of the least accurate entry that is not 0
    int printed = 0;  // the digits the least precise of them carries as printed
};

// Runs `command` on [A b] (integers, typed exactly) and counts the digits its solution has.
Verdict SolveAndCount(std::string_view command, const std::vector<std::vector<double>>& a, const std::vector<double>& x,
                      double scale, int places) {
    const int n = static_cast<int>(x.size());
    std::string editor;
    for (int i = 0; i < n; ++i) {
        double b = 0;
        for (int j = 0; j < n; ++j) {
            editor += ExactText(a[i][j] * scale) + " ";
            b += a[i][j] * x[j];
        }
        editor += ExactText(b * scale) + "\r\n";
    }
    RunFacts facts;
    StringPane pane;
    ScriptedInteraction user({std::to_string(n)}, {});
    CommandContext context{editor, pane, user, places, {}, {}, nullptr, &facts};
    const CommandInfo& info = *FindCommand(command);
    info.run(context);
    const CheckResults results = ComputeChecks(info, facts, context);
    if (facts.solution.size() != x.size()) return {};
    Verdict verdict{*results.find("trusted_digits"), 1000, kMostPrintedDigits};
    for (int i = 0; i < n; ++i) {
        const double value = facts.solution[static_cast<std::size_t>(i)];
        if (value == 0) continue;
        verdict.actual = std::min(verdict.actual, CorrectDigits(value, std::fabs(value - x[static_cast<std::size_t>(i)])));
        verdict.printed = std::min(verdict.printed, PrintedDigits(value, places));
    }
    return verdict;
}

constexpr std::string_view kSolvers[] = {"Gauss_1", "GaussTier", "GaussFull", "LU_break", "TierLU", "SqrtRoot", "MendSqrt"};

// Hilbert matrices times lcm(1, ..., 2n-1) have integer entries, and with b = A·1 the solution
// H⁻¹·1 is known in closed form. Every solver, at every number of places: the verdict never
// exceeds the digits the printed solution has, and falls short of them by a few at most.
TEST(DirectSolverChecks, OnHilbertMatricesTheVerdictNeverExceedsTheDigitsThere) {
    int promisedTotal = 0;
    int actualTotal = 0;
    for (int n = 3; n <= 8; ++n) {
        double lcm = 1;
        for (int k = 2; k <= 2 * n - 1; ++k) lcm = std::lcm(static_cast<long long>(lcm), static_cast<long long>(k));
        std::vector<std::vector<double>> a(n, std::vector<double>(n));
        std::vector<double> x(n, 0.0);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                a[i][j] = lcm / (i + j + 1);
                x[i] += testing::HilbertInverse(n, i + 1, j + 1);
            }
        }
        for (const std::string_view command : kSolvers) {
            for (int places = 2; places <= 16; places += 2) {
                SCOPED_TRACE(std::string(command) + " n=" + std::to_string(n) + " places=" + std::to_string(places));
                const Verdict verdict = SolveAndCount(command, a, x, 1, places);
                ASSERT_TRUE(verdict.promised.has_value());
                EXPECT_LE(*verdict.promised, std::max(0, verdict.actual));
                // A printed value guarantees no more than its places, however close it happens to be.
                const int supported = std::clamp(std::min(verdict.actual, verdict.printed), 0, 15);
                EXPECT_GE(*verdict.promised, supported - 4);
                promisedTotal += static_cast<int>(*verdict.promised);
                actualTotal += supported;
            }
        }
    }
    // A bound cannot know when the rounding was kind; over all runs it promises 85 % of the digits.
    EXPECT_GE(promisedTotal, 0.8 * actualTotal);
}

// The inverse of lcm·H is H⁻¹/lcm, from the closed form: the inverse's verdict, too, never
// exceeds the digits of its least accurate printed entry.
TEST(DirectSolverChecks, OnHilbertInversesTheVerdictNeverExceedsTheDigitsThere) {
    for (int n = 2; n <= 7; ++n) {
        long long lcm = 1;
        for (int k = 2; k <= 2 * n - 1; ++k) lcm = std::lcm(lcm, static_cast<long long>(k));
        std::string editor;
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) editor += std::to_string(lcm / (i + j - 1)) + " ";
            editor += "\r\n";
        }
        for (int places = 2; places <= 16; places += 2) {
            SCOPED_TRACE("n=" + std::to_string(n) + " places=" + std::to_string(places));
            RunFacts facts;
            StringPane pane;
            ScriptedInteraction user({std::to_string(n)}, {});
            CommandContext context{editor, pane, user, places, {}, {}, nullptr, &facts};
            const CommandInfo& info = *FindCommand("A_matrix");
            info.run(context);
            const CheckResults results = ComputeChecks(info, facts, context);
            int actual = 1000;
            for (int i = 1; i <= n; ++i) {
                for (int j = 1; j <= n; ++j) {
                    const double value = facts.inverse[static_cast<std::size_t>((i - 1) * n + j - 1)];
                    const double exact = testing::HilbertInverse(n, i, j) / static_cast<double>(lcm);
                    if (value != 0) actual = std::min(actual, CorrectDigits(value, std::fabs(value - exact)));
                }
            }
            EXPECT_LE(testing::Value(results, "trusted_digits"), std::max(0, actual));
        }
    }
}

// Integer systems with integer solutions, scaled by powers of two (exact), solved by every
// method whether it fits the matrix or not: no verdict promises a digit the solution lacks.
TEST(DirectSolverChecks, OnGeneratedSystemsTheVerdictNeverExceedsTheDigitsThere) {
    std::mt19937 random(25);
    std::uniform_int_distribution<int> entry(-9, 9);
    int promisedTotal = 0;
    int actualTotal = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const int n = 2 + trial % 6;
        std::vector<std::vector<double>> a(n, std::vector<double>(n));
        std::vector<double> x(n);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) a[i][j] = entry(random);
            // Every third system symmetric with a heavy diagonal, so the square-root methods fit.
            if (trial % 3 == 0) {
                for (int j = 0; j < i; ++j) a[i][j] = a[j][i];
                a[i][i] = 10.0 * n;
            }
            x[i] = entry(random) * std::pow(10.0, entry(random) % 4);
        }
        const double scale = std::ldexp(1.0, 10 * (trial % 5 - 2));
        for (const std::string_view command : kSolvers) {
            for (int places = 1; places <= 16; places += 3) {
                SCOPED_TRACE(std::string(command) + " trial " + std::to_string(trial) + " places=" + std::to_string(places));
                const Verdict verdict = SolveAndCount(command, a, x, scale, places);
                if (!verdict.promised) continue;
                EXPECT_LE(*verdict.promised, std::max(0, verdict.actual));
                promisedTotal += static_cast<int>(*verdict.promised);
                actualTotal += std::clamp(std::min(verdict.actual, verdict.printed), 0, 15);
            }
        }
    }
    EXPECT_GE(promisedTotal, 0.9 * actualTotal);
}

}  // namespace
}  // namespace koravin
