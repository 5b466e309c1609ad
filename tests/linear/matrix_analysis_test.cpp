#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>

#include "linear/linear_commands.h"
#include "linear/power_iteration.h"
#include "matrix/matrix_routines.h"
#include "support/command_runner.h"
#include "support/command_runner.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::RunCommand;

constexpr std::string_view kMatrixOrderPrompt = "prompt\tKoravin\t输入矩阵的阶数 n：\t";
constexpr std::string_view kArrayOrderPrompt = "prompt\t输入数据\t输入数组的阶数 n：\t";

std::string VectorReport(std::string_view listing, std::string_view norm1, std::string_view norm2,
                         std::string_view normInf) {
    return CrLf({listing, "以上是所要求解的向量，接下来输出向量的范数", "", "向量的1范数为： " + std::string(norm1),
                 "向量的2范数为： " + std::string(norm2), "向量的无穷范数为： " + std::string(normInf), ""});
}

std::string MatrixNormReport(std::string_view listing, std::string_view norm1, std::string_view norm2,
                             std::string_view normF, std::string_view normInf) {
    return std::string(listing) +
           CrLf({"", "以上是所要求解的矩阵，接下来输出矩阵的范数", "", "矩阵的1范数为： " + std::string(norm1), "",
                 "矩阵的2范数(参考值)为： " + std::string(norm2), "", "矩阵的F范数为： " + std::string(normF), "",
                 "矩阵的无穷范数为： " + std::string(normInf), "", ""});
}

TEST(VectorModel, WritesTheThreeNormsOfTheFirstLine) {
    const auto run = RunCommand(VectorModel, {.editor = "3 -4", .replies = {"unused"}});
    EXPECT_EQ(run.report, VectorReport("    3    -4", "7", "5", "4"));
    EXPECT_EQ(run.trace(), "");
    EXPECT_EQ(RunCommand(VectorModel, {.editor = "  -5 3\r\n100 200"}).report,
              VectorReport("    -5    3", "8", "5.830952", "5"));
    EXPECT_EQ(RunCommand(VectorModel, {.editor = "-2"}).report, VectorReport("    -2", "2", "2", "2"));
}

TEST(VectorModel, OnlyTheTwoNormIsRounded) {
    EXPECT_EQ(RunCommand(VectorModel, {.editor = "1/3 -1/3", .digits = 2}).report,
              VectorReport("    0.333333333333333    -0.333333333333333", "0.666666666666667", "0.47",
                           "0.333333333333333"));
}

TEST(VectorModel, AnEmptyEditorWritesNothing) {
    EXPECT_EQ(RunCommand(VectorModel, {.editor = "", .previousReport = "old"}).report, "");
    EXPECT_EQ(RunCommand(VectorModel, {.editor = "   \r\n", .previousReport = "old"}).report, "");
}

TEST(MatrixModel, WritesTheFourNorms) {
    const auto run = RunCommand(MatrixModel, {.editor = "1 2\r\n3 4", .replies = {"2"}});
    EXPECT_EQ(run.report, MatrixNormReport(CrLf({"    1    2", "    3    4", ""}), "6", "5.464986", "5.477226", "7"));
    EXPECT_EQ(run.trace(), kArrayOrderPrompt);
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "3 0\r\n0 4", .replies = {"2"}}).report,
              MatrixNormReport(CrLf({"    3    0", "    0    4", ""}), "4", "4", "5", "4"));
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "2 1 9\r\n1 1 9", .replies = {"2"}}).report,
              MatrixNormReport(CrLf({"    2    1", "    1    1", ""}), "3", "2.618034", "2.645751", "3"));
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "-3", .replies = {"1"}}).report,
              MatrixNormReport(CrLf({"    -3", ""}), "3", "3", "3", "3"));
}

TEST(MatrixModel, AZeroMatrixHasNormsZeroWithoutAFault) {
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "0 0\r\n0 0", .replies = {"2"}}).report,
              MatrixNormReport(CrLf({"    0    0", "    0    0", ""}), "0", "0", "0", "0"));
}

// Beyond about 1.8E+19 the single-precision estimate overflows; dividing by it would wipe out
// the power vector and print 0 for the largest norm of all.
TEST(MatrixModel, ATwoNormBeyondTheEstimatesRangeIsInfiniteNotZero) {
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "1e20", .replies = {"1"}}).report,
              MatrixNormReport(CrLf({"    1E+20", ""}), "1E+20", "Inf", "1E+20", "1E+20"));
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "3e19 0\r\n0 1", .replies = {"2"}}).report,
              MatrixNormReport(CrLf({"    3E+19    0", "    0    1", ""}), "3E+19", "Inf", "3E+19", "3E+19"));
    // Just inside the range the estimate stands, with its single-precision digits.
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "1e19", .replies = {"1"}}).report,
              MatrixNormReport(CrLf({"    1E+19", ""}), "1E+19", "9.99999984014285E+18", "1E+19", "1E+19"));
}

TEST(MatrixModel, TheOneAndInfinityNormsAreUnroundedTheOthersRounded) {
    EXPECT_EQ(RunCommand(MatrixModel, {.editor = "1/3 0\r\n0 1/3", .replies = {"2"}, .digits = 3}).report,
              MatrixNormReport(CrLf({"    0.333333333333333    0", "    0    0.333333333333333", ""}),
                               "0.333333333333333", "0.333", "0.471", "0.333333333333333"));
}

TEST(MatrixModel, WithoutAPositiveOrderItEndsBeforeClearingThePane) {
    for (const std::string reply : {"", "0", "-1", "abc"}) {
        const auto run = RunCommand(MatrixModel, {.editor = "1 2\r\n3 4", .replies = {reply}, .previousReport = "old"});
        EXPECT_EQ(run.report, "old") << reply;
        EXPECT_EQ(run.trace(), kArrayOrderPrompt) << reply;
    }
    const auto tooLarge = RunCommand(MatrixModel, {.editor = "1", .replies = {"32767"}, .previousReport = "old"});
    EXPECT_EQ(tooLarge.report, "old");
    EXPECT_EQ(tooLarge.trace(), std::string(kArrayOrderPrompt) + "\nmessage\t矩阵阶数太大，无法计算！");
}

// The power iteration as the textbook writes it: B = MᵀM entry by entry, y = B·x as n dot
// products, the single-precision estimate kept in λ0 in the first round and in λ afterwards.
double ReferenceTwoNorm(const Matrix& m, int n) {
    Matrix b(n, n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            double s = 0;
            for (int c = 1; c <= n; ++c) s = s + m(c, i) * m(c, j);
            b(i, j) = s;
        }
    }
    Vector x(1, n);
    Vector y(1, n);
    for (int i = 1; i <= n; ++i) x(i) = 1;
    double lambda0 = 0;
    double lambda = 0;
    for (int k = 1; k <= 30; ++k) {
        for (int p = 1; p <= n; ++p) {
            for (int i = 1; i <= n; ++i) {
                double s = 0;
                for (int j = 1; j <= n; ++j) s = s + b(i, j) * x(j);
                y(i) = s;
            }
            for (int i = 1; i <= n; ++i) {
                const float divisor = LargestMagnitudeEntry(y, n);
                if (divisor != 0) x(i) = y(i) / divisor;
            }
            // Past single precision's range the estimate is reported as infinite.
            if (std::isinf(LargestMagnitudeEntry(y, n))) return INFINITY;
            if (k == 1) {
                lambda0 = LargestMagnitudeEntry(y, n);
            } else {
                lambda = LargestMagnitudeEntry(y, n);
            }
            if (std::fabs(lambda - lambda0) < 0.000001) lambda0 = lambda;
        }
    }
    return lambda < 0 ? 0 : std::sqrt(lambda);
}

TEST(PowerIterationTwoNorm, AgreesBitForBitWithTheLiteralPowerIteration) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> entry(-100, 100);
    std::uniform_int_distribution<int> order(1, 12);
    for (int run = 0; run < 300; ++run) {
        const int n = order(random);
        Matrix m(n, n + 1);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n + 1; ++j) {
                const double value = run % 2 == 0 ? std::round(entry(random)) : entry(random);
                // Sparse and zero rows and columns as well as full ones.
                m(i, j) = run % 4 == 1 && (i + j + run) % 3 == 0 ? 0 : value * (run % 7 == 3 ? 1e-200 : 1);
            }
        }
        ASSERT_EQ(std::bit_cast<std::uint64_t>(PowerIterationTwoNorm(m, n)),
                  std::bit_cast<std::uint64_t>(ReferenceTwoNorm(m, n)))
            << run;
    }
}

// Orders beyond the typed block (the reader repeats the last row, column 1 emptied, and leaves
// the columns no row reached at 0), zero and negative-zero entries, Inf, NaN and entries large
// enough to overflow the single-precision estimate: the shortcuts for zero terms and for a
// power vector that has settled must not change a bit.
TEST(PowerIterationTwoNorm, AgreesBitForBitOnPaddedAndNonFiniteMatrices) {
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int> entry(-9, 9);
    std::uniform_int_distribution<int> order(1, 14);
    const double specials[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, 1e25, 1e-30, 0.5};
    int overflowed = 0;
    int notANumber = 0;
    for (int run = 0; run < 2000; ++run) {
        const int n = order(random);
        const int typedRows = std::uniform_int_distribution<int>(1, n)(random);
        const int typedColumns = std::uniform_int_distribution<int>(1, n)(random);
        Matrix m(n, n + 1);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                if (i <= typedRows) {
                    m(i, j) = j <= typedColumns ? entry(random) : 0;
                } else {
                    m(i, j) = j == 1 ? 0 : m(i - 1, j);
                }
            }
        }
        if (run % 4 == 0) {
            const int i = std::uniform_int_distribution<int>(1, n)(random);
            const int j = std::uniform_int_distribution<int>(1, n)(random);
            m(i, j) = specials[run / 4 % 8];
        }
        const double fast = PowerIterationTwoNorm(m, n);
        const double literal = ReferenceTwoNorm(m, n);
        if (std::isinf(fast)) ++overflowed;
        if (std::isnan(fast)) ++notANumber;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(literal)) << run;
    }
    EXPECT_GT(overflowed, 20);
    EXPECT_GT(notANumber, 20);
}

TEST(CMatrixJudge, APositiveDefiniteMatrix) {
    const auto run = RunCommand(CMatrixJudge, {.editor = "2 -1\r\n-1 2", .replies = {"2"}});
    EXPECT_EQ(run.report, CrLf({"  2  -1", "  -1  2", "", "以上是该矩阵的各元素", "下面输出各阶顺序主子式的值：",
                                "  1 阶顺序主子式的值为： 2", "  2 阶顺序主子式的值为： 3", "",
                                "该矩阵各阶顺序主子式的值全大于 0 ，是正定矩阵。", ""}));
    EXPECT_EQ(run.trace(), kMatrixOrderPrompt);
}

TEST(CMatrixJudge, StopsAtTheFirstMinorThatIsNotPositive) {
    EXPECT_EQ(RunCommand(CMatrixJudge, {.editor = "1 2\r\n2 1", .replies = {"2"}}).report,
              CrLf({"  1  2", "  2  1", "", "以上是该矩阵的各元素", "下面输出各阶顺序主子式的值：",
                    "  1 阶顺序主子式的值为： 1", "  2 阶顺序主子式的值为： -3", "",
                    "第 2 阶顺序主子式的值不大于 0 ，该矩阵非正定。", ""}));
    EXPECT_EQ(RunCommand(CMatrixJudge, {.editor = "0 1\r\n1 0", .replies = {"2"}}).report,
              CrLf({"  0  1", "  1  0", "", "以上是该矩阵的各元素", "下面输出各阶顺序主子式的值：",
                    "  1 阶顺序主子式的值为： 0", "", "第 1 阶顺序主子式的值不大于 0 ，该矩阵非正定。", ""}));
}

TEST(CMatrixJudge, JudgesTheUnroundedMinorAndNotSymmetry) {
    EXPECT_EQ(RunCommand(CMatrixJudge, {.editor = "0.0000001", .replies = {"1"}}).report,
              CrLf({"  1E-07", "", "以上是该矩阵的各元素", "下面输出各阶顺序主子式的值：", "  1 阶顺序主子式的值为： 0", "",
                    "该矩阵各阶顺序主子式的值全大于 0 ，是正定矩阵。", ""}));
    EXPECT_EQ(RunCommand(CMatrixJudge, {.editor = "1 5 7\r\n0 1 7", .replies = {"2"}}).report,
              CrLf({"  1  5", "  0  1", "", "以上是该矩阵的各元素", "下面输出各阶顺序主子式的值：",
                    "  1 阶顺序主子式的值为： 1", "  2 阶顺序主子式的值为： 1", "",
                    "该矩阵各阶顺序主子式的值全大于 0 ，是正定矩阵。", ""}));
}

std::string StrictReport(std::string_view listing, std::initializer_list<std::string_view> verdict) {
    return std::string(listing) + CrLf({"", "以上是该矩阵的元素", "下面输出各行的判断结果：", ""}) + CrLf(verdict);
}

TEST(StrictMatrixJudge, AStrictlyDominantMatrixIsNonSingular) {
    const auto run = RunCommand(StrictMatrixJudge, {.editor = "4 1 100\r\n2 5 100", .replies = {"2"}});
    EXPECT_EQ(run.report, StrictReport(CrLf({"  4  1", "  2  5", ""}),
                                       {"该矩阵每一行对角元素的绝对值都严格大于同行的其他元素的绝对值之和", "",
                                        "因此该矩阵是严格对角占优矩阵。", "", "同时该矩阵也为非奇异矩阵。"}));
    EXPECT_EQ(run.trace(), kMatrixOrderPrompt);
}

TEST(StrictMatrixJudge, NamesOnlyTheFirstRowThatFails) {
    EXPECT_EQ(RunCommand(StrictMatrixJudge, {.editor = "2 2\r\n1 5", .replies = {"2"}}).report,
              StrictReport(CrLf({"  2  2", "  1  5", ""}),
                           {"第 1 行对角元素的绝对值不严格大于同行的其他元素的绝对值之和", "",
                            "因此该矩阵不是严格对角占优矩阵。", ""}));
    EXPECT_EQ(RunCommand(StrictMatrixJudge, {.editor = "5 1\r\n3 2", .replies = {"2"}}).report,
              StrictReport(CrLf({"  5  1", "  3  2", ""}),
                           {"第 2 行对角元素的绝对值不严格大于同行的其他元素的绝对值之和", "",
                            "因此该矩阵不是严格对角占优矩阵。", ""}));
    EXPECT_EQ(RunCommand(StrictMatrixJudge, {.editor = "5 1 1\r\n1 -1 2\r\n1 1 0", .replies = {"3"}}).report,
              StrictReport(CrLf({"  5  1  1", "  1  -1  2", "  1  1  0", ""}),
                           {"第 2 行对角元素的绝对值不严格大于同行的其他元素的绝对值之和", "",
                            "因此该矩阵不是严格对角占优矩阵。", ""}));
}

TEST(StrictMatrixJudge, OfOrderOneOnlyAZeroEntryFails) {
    EXPECT_EQ(RunCommand(StrictMatrixJudge, {.editor = "-3", .replies = {"1"}}).report,
              StrictReport(CrLf({"  -3", ""}), {"该矩阵每一行对角元素的绝对值都严格大于同行的其他元素的绝对值之和", "",
                                                 "因此该矩阵是严格对角占优矩阵。", "", "同时该矩阵也为非奇异矩阵。"}));
    EXPECT_EQ(RunCommand(StrictMatrixJudge, {.editor = "0", .replies = {"1"}}).report,
              StrictReport(CrLf({"  0", ""}), {"第 1 行对角元素的绝对值不严格大于同行的其他元素的绝对值之和", "",
                                                "因此该矩阵不是严格对角占优矩阵。", ""}));
}

TEST(MatrixJudges, WithoutAPositiveOrderTheyEndBeforeClearingThePane) {
    for (const auto command : {CMatrixJudge, StrictMatrixJudge}) {
        const auto run = RunCommand(command, {.editor = "1", .replies = {"0"}, .previousReport = "old"});
        EXPECT_EQ(run.report, "old");
        EXPECT_EQ(run.trace(), kMatrixOrderPrompt);
    }
}

}  // namespace
}  // namespace koravin
