#include <gtest/gtest.h>

#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using triangular_testing::kSystemOrderPrompt;
using triangular_testing::RunTriangular;

TEST(LU_break, SolvesAndWritesEveryStage) {
    const auto run = RunTriangular(LU_break, "2 1 -1 8\r\n-3 -1 2 -11\r\n-2 1 2 -3", {"3"}, 6, "old");
    EXPECT_EQ(run.report,
              CrLf({"    2    1    -1    8", "    -3    -1    2    -11", "    -2    1    2    -3", "",
                    "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b：",
                    "    2    1    -1", "    -3    -1    2", "    -2    1    2", "", "    8    -11    -3",
                    "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)", "    1    0    0", "    -1.5    1    0",
                    "    -1    4    1", "", "输出方程组的系数矩阵LU分解后的上三角矩阵U(n)", "     2     1     -1", "",
                    "     0     0.5     0.5", "", "     0     0     -1", "", "", "输出求解LY=b后的 Y(n)", "y(1)=8",
                    "y(2)=1", "y(3)=1", "", "输出求解UX=Y后的 X(n)，亦既方程组的解：", "x(1)=2", "x(2)=3",
                    "x(3)=-1", "", "LU分解法解线性方程组"}));
    EXPECT_EQ(run.trace(), kSystemOrderPrompt);
}

TEST(LU_break, FactorsAndYCarryOnePlaceMoreThanTheSolution) {
    const auto run = RunTriangular(LU_break, "3 1 1\r\n1 2 1", {"2"}, 2);
    EXPECT_EQ(run.report,
              CrLf({"    3    1    1", "    1    2    1", "",
                    "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b：", "    3    1",
                    "    1    2", "", "    1    1", "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)", "    1    0",
                    "    0.333    1", "", "输出方程组的系数矩阵LU分解后的上三角矩阵U(n)", "     3     1", "",
                    "     0     1.667", "", "", "输出求解LY=b后的 Y(n)", "y(1)=1", "y(2)=0.667", "",
                    "输出求解UX=Y后的 X(n)，亦既方程组的解：", "x(1)=0.2", "x(2)=0.4", "", "LU分解法解线性方程组"}));
}

TEST(LU_break, OrderOne) {
    EXPECT_EQ(RunTriangular(LU_break, "2 4", {"1"}).report,
              CrLf({"    2    4", "", "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b：",
                    "    2", "", "    4", "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)", "    1", "",
                    "输出方程组的系数矩阵LU分解后的上三角矩阵U(n)", "     2", "", "", "输出求解LY=b后的 Y(n)",
                    "y(1)=4", "", "输出求解UX=Y后的 X(n)，亦既方程组的解：", "x(1)=2", "", "LU分解法解线性方程组"}));
    // The decomposition has no row below to test; the back substitution tests U(1,1).
    const auto zero = RunTriangular(LU_break, "0 4", {"1"}, 6, "old");
    EXPECT_EQ(zero.report, "");
    EXPECT_EQ(zero.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适！");
}

TEST(LU_break, ZeroPivotsStopWithAnEmptyPane) {
    // Regular, but a zero leading entry and no row exchange.
    const auto leading = RunTriangular(LU_break, "0 1 1\r\n1 0 1", {"2"}, 6, "old");
    EXPECT_EQ(leading.report, "");
    EXPECT_EQ(leading.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适！");
    // Singular with only U(n,n) = 0: the decomposition passes, the back substitution stops.
    const auto last = RunTriangular(LU_break, "1 2 3\r\n2 4 6", {"2"}, 6, "old");
    EXPECT_EQ(last.report, "");
    EXPECT_EQ(last.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适！");
    // A NaN pivot counts as zero.
    EXPECT_EQ(RunTriangular(LU_break, "0/0 1 1\r\n1 0 1", {"2"}).trace(),
              std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适！");
}

TEST(LU_break, ANaNLastPivotStopsTheBackSubstitution) {
    const auto run = RunTriangular(LU_break, "1 2 3\r\n2 0/0 6", {"2"}, 6, "old");
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t此方法不合适！");
}

TEST(LU_break, ThePaneIsEmptiedBeforeTheOrderIsAsked) {
    for (const std::string reply : {"", "abc", "0", "-3", "40000"}) {
        const auto run = RunTriangular(LU_break, "2 4", {reply}, 6, "old");
        EXPECT_EQ(run.report, "") << reply;
        EXPECT_EQ(run.trace(), kSystemOrderPrompt) << reply;
    }
    // 2.5 reads as 2, halves going to the even neighbour.
    EXPECT_EQ(RunTriangular(LU_break, "2 1 3\r\n1 1 2", {"2.5"}).report, RunTriangular(LU_break, "2 1 3\r\n1 1 2", {"2"}).report);
}

TEST(LU_break, AnOrderTooLargeToHoldIsRefused) {
    const auto run = RunTriangular(LU_break, "2 4", {"32767"}, 6, "old");
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), std::string(kSystemOrderPrompt) + "\nmessage\t矩阵阶数太大，无法计算！");
}

}  // namespace
}  // namespace koravin
