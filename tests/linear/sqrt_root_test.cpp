#include <gtest/gtest.h>

#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using triangular_testing::RunTriangular;

constexpr std::string_view kPrompt =
    "prompt\tKoravin\t确定方程组的系数矩阵A是对称正定的后，输入方程组系数矩阵的阶数 n：\t";
constexpr std::string_view kEcho = "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b";
constexpr std::string_view kL = "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)";
constexpr std::string_view kY = "输出求解LY=b后的 Y(n)";
constexpr std::string_view kX = "输出求解UX=Y后的 X，亦既方程组的解：";
constexpr std::string_view kTitle = "平方根法解线性方程组。";
constexpr std::string_view kNote = "注意：本方法仅对未知数x的系数矩阵是对称正定矩阵时有效。";

TEST(SqrtRoot, Cholesky) {
    const auto run = RunTriangular(SqrtRoot, "4 2 2\r\n2 5 3", {"2"});
    EXPECT_EQ(run.report, CrLf({"    4    2    2", "    2    5    3", "", kEcho, "     4     2", "     2     5", "",
                                "     2     3", kL, "     2     0", "     1     2", "", kY, "", "y(1)=1", "y(2)=1", kX,
                                "x(1)=0.25", "x(2)=0.5", "", kTitle, kNote}));
    EXPECT_EQ(run.trace(), kPrompt);
}

TEST(SqrtRoot, OnlyTheLowerTriangleIsRead) {
    EXPECT_EQ(RunTriangular(SqrtRoot, "4 -7 2\r\n2 5 3", {"2"}).report,
              CrLf({"    4    -7    2", "    2    5    3", "", kEcho, "     4     -7", "     2     5", "", "     2     3",
                    kL, "     2     0", "     1     2", "", kY, "", "y(1)=1", "y(2)=1", kX, "x(1)=0.25", "x(2)=0.5", "",
                    kTitle, kNote}));
}

TEST(SqrtRoot, LAndYCarryOnePlaceMoreThanTheSolution) {
    // L(2,2) = sqrt(2), Y = (2/3, 1/(3 sqrt(2))), X = (1/6, 1/6).
    EXPECT_EQ(RunTriangular(SqrtRoot, "9 3 2\r\n3 3 1", {"2"}, 2).report,
              CrLf({"    9    3    2", "    3    3    1", "", kEcho, "     9     3", "     3     3", "", "     2     1", kL,
                    "     3     0", "     1     1.414", "", kY, "", "y(1)=0.667", "y(2)=0.236", kX, "x(1)=0.17",
                    "x(2)=0.17", "", kTitle, kNote}));
}

TEST(SqrtRoot, OrderOne) {
    EXPECT_EQ(RunTriangular(SqrtRoot, "9 18", {"1"}).report,
              CrLf({"    9    18", "", kEcho, "     9", "", "     18", kL, "     3", "", kY, "", "y(1)=6", kX, "x(1)=2", "",
                    kTitle, kNote}));
}

TEST(SqrtRoot, ANegativeRadicandLeavesItsDiagonalEntryZeroWithoutAMessage) {
    const auto first = RunTriangular(SqrtRoot, "-4 2", {"1"});
    EXPECT_EQ(first.report, CrLf({"    -4    2", "", kEcho, "     -4", "", "     2", kL, "     0", "", kY, "", "y(1)=Inf",
                                  kX, "x(1)=Inf", "", kTitle, kNote}));
    EXPECT_EQ(first.trace(), kPrompt);
    // 1 - 2·2 < 0 in the second column.
    EXPECT_EQ(RunTriangular(SqrtRoot, "1 2 1\r\n2 1 1", {"2"}).report,
              CrLf({"    1    2    1", "    2    1    1", "", kEcho, "     1     2", "     2     1", "", "     1     1", kL,
                    "     1     0", "     2     0", "", kY, "", "y(1)=1", "y(2)=-Inf", kX, "x(1)=Inf", "x(2)=-Inf", "",
                    kTitle, kNote}));
}

TEST(SqrtRoot, ThePaneIsEmptiedBeforeTheOrderIsAsked) {
    for (const std::string reply : {"", "abc", "-1"}) {
        const auto run = RunTriangular(SqrtRoot, "9 18", {reply}, 6, "old");
        EXPECT_EQ(run.report, "") << reply;
        EXPECT_EQ(run.trace(), kPrompt) << reply;
    }
}

}  // namespace
}  // namespace koravin
