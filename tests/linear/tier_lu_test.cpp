#include <gtest/gtest.h>

#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using triangular_testing::kSystemOrderPrompt;
using triangular_testing::RunTriangular;

constexpr std::string_view kHeadings[] = {
    "以上是方程组的增广矩阵", "接下来输出方程组的计算后的系数矩阵A、方程组的常数项向量b：",
    "输出方程组的系数矩阵列主元三角分解后的下三角矩阵L(n)", "输出方程组的系数矩阵列主元三角分解后的上三角矩阵U(n)",
    "输出求解LY=b后的 Y(n)", "输出求解UX=Y后的 X(n)，亦既方程组的解：", "列主元三角分解法解线性方程组"};

TEST(TierLU, ExchangesRowsWhereTheLeadingEntryIsZero) {
    const auto run = RunTriangular(TierLU, "0 1 1\r\n1 0 1", {"2"}, 6, "old");
    EXPECT_EQ(run.report, CrLf({"    0    1    1", "    1    0    1", "", kHeadings[0], kHeadings[1], "    1    0",
                                "    0    1", "", "    1    1", kHeadings[2], "    1    0", "    0    1", "",
                                kHeadings[3], "     1     0", "", "     0     1", "", "", kHeadings[4], "y(1)=1",
                                "y(2)=1", "", kHeadings[5], "x(1)=1", "x(2)=1", "", kHeadings[6]}));
    EXPECT_EQ(run.trace(), kSystemOrderPrompt);
}

TEST(TierLU, ThePivotIsTheLargestSignedCandidate) {
    // Candidates -2 and 1: row 2 leads although |-2| is larger. W keeps the entry as read (1) in
    // its last diagonal place, while U(2,2) = 3; b is shown in the exchanged order.
    EXPECT_EQ(RunTriangular(TierLU, "-2 1 -1\r\n1 1 2", {"2"}).report,
              CrLf({"    -2    1    -1", "    1    1    2", "", kHeadings[0], kHeadings[1], "    1    1", "    -2    1",
                    "", "    2    -1", kHeadings[2], "    1    0", "    -2    1", "", kHeadings[3], "     1     1", "",
                    "     0     3", "", "", kHeadings[4], "y(1)=2", "y(2)=3", "", kHeadings[5], "x(1)=1", "x(2)=1", "",
                    kHeadings[6]}));
    // Candidates 0 and -1: 0 is the larger, so U(1,1) = 0 and the regular system is refused.
    const auto refused = RunTriangular(TierLU, "0 1 1\r\n-1 0 1", {"2"}, 6, "old");
    EXPECT_EQ(refused.report, "");
    EXPECT_EQ(refused.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适#");
}

TEST(TierLU, EqualCandidatesKeepTheRow) {
    EXPECT_EQ(RunTriangular(TierLU, "2 1 3\r\n2 3 5", {"2"}).report,
              CrLf({"    2    1    3", "    2    3    5", "", kHeadings[0], kHeadings[1], "    2    1", "    1    3", "",
                    "    3    5", kHeadings[2], "    1    0", "    1    1", "", kHeadings[3], "     2     1", "",
                    "     0     2", "", "", kHeadings[4], "y(1)=3", "y(2)=2", "", kHeadings[5], "x(1)=1", "x(2)=1", "",
                    kHeadings[6]}));
}

TEST(TierLU, EveryRoundedNumberHasTheDecimalDigits) {
    // Two exchanges: rows 2, 3, 1 of the input lead in turn.
    EXPECT_EQ(RunTriangular(TierLU, "1 1 1 3\r\n3 1 2 6\r\n2 3 1 6", {"3"}, 3).report,
              CrLf({"    1    1    1    3", "    3    1    2    6", "    2    3    1    6", "", kHeadings[0],
                    kHeadings[1], "    3    1    2", "    0.667    2.333    -0.333", "    0.333    0.286    1", "",
                    "    6    6    3", kHeadings[2], "    1    0    0", "    0.667    1    0", "    0.333    0.286    1",
                    "", kHeadings[3], "     3     1     2", "", "     0     2.333     -0.333", "",
                    "     0     0     0.429", "", "", kHeadings[4], "y(1)=6", "y(2)=2", "y(3)=0.429", "", kHeadings[5],
                    "x(1)=1", "x(2)=1", "x(3)=1", "", kHeadings[6]}));
}

TEST(TierLU, ASingularMatrixStopsInTheBackSubstitution) {
    const auto run = RunTriangular(TierLU, "1 2 3\r\n2 4 6", {"2"}, 6, "old");
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适#");
}

TEST(TierLU, OrderOneHasNoPivotSearchAndLeavesLZero) {
    EXPECT_EQ(RunTriangular(TierLU, "4 8", {"1"}).report,
              CrLf({"    4    8", "", kHeadings[0], kHeadings[1], "    4", "", "    8", kHeadings[2], "    0", "",
                    kHeadings[3], "     4", "", "", kHeadings[4], "y(1)=8", "", kHeadings[5], "x(1)=2", "",
                    kHeadings[6]}));
    EXPECT_EQ(RunTriangular(TierLU, "0 8", {"1"}).trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适#");
}

TEST(TierLU, ANaNDiagonalEntryOfUStopsTheBackSubstitution) {
    const auto run = RunTriangular(TierLU, "0/0 8", {"1"}, 6, "old");
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适#");
}

TEST(TierLU, ASilentEndKeepsThePreviousReport) {
    for (const std::string reply : {"", "abc", "0", "-3", "40000"}) {
        const auto run = RunTriangular(TierLU, "4 8", {reply}, 6, "old");
        EXPECT_EQ(run.report, "old") << reply;
        EXPECT_EQ(run.trace(), kSystemOrderPrompt) << reply;
    }
    const auto tooLarge = RunTriangular(TierLU, "4 8", {"32767"}, 6, "old");
    EXPECT_EQ(tooLarge.report, "old");
    EXPECT_EQ(tooLarge.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t矩阵阶数太大，无法计算！");
}

}  // namespace
}  // namespace koravin
