#include <gtest/gtest.h>

#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using triangular_testing::kArrayOrderPrompt;
using triangular_testing::RunTriangular;

constexpr std::string_view kEcho = "以上是方程组的增广矩阵，接下来输出方程组的系数矩阵A、方程组的常数项向量b";
constexpr std::string_view kL = "输出方程组的系数矩阵LU分解后的下三角矩阵L(n)";
constexpr std::string_view kD = "接下来输出分解式A=L*D*L' 中D的主对角线元素：";
constexpr std::string_view kY = "输出求解LY=b后的 Y(n)";
constexpr std::string_view kX = "输出求解UX=Y后的 X，亦既方程组的解：";
constexpr std::string_view kTitle = "改进的平方根法解线性方程组";
constexpr std::string_view kNote = "注意：本方法仅对未知数x的系数矩阵是对称矩阵时有效。";

TEST(MendSqrt, LdlTranspose) {
    const auto run = RunTriangular(MendSqrt, "4 2 2\r\n2 5 3", {"2"}, 6, "old");
    EXPECT_EQ(run.report, CrLf({"    4    2    2", "    2    5    3", "", kEcho, "     4     2", "     2     5", "",
                                "     2     3", kL, "     1     0", "     0.5     1", kD, "     4     4", kY, "", "y(1)=2",
                                "y(2)=2", kX, "x(1)=0.25", "x(2)=0.5", "", kTitle, kNote}));
    EXPECT_EQ(run.trace(), kArrayOrderPrompt);
}

TEST(MendSqrt, ASymmetricIndefiniteMatrixIsSolved) {
    EXPECT_EQ(RunTriangular(MendSqrt, "1 2 3\r\n2 1 3", {"2"}).report,
              CrLf({"    1    2    3", "    2    1    3", "", kEcho, "     1     2", "     2     1", "", "     3     3", kL,
                    "     1     0", "     2     1", kD, "     1     -3", kY, "", "y(1)=3", "y(2)=-3", kX, "x(1)=1",
                    "x(2)=1", "", kTitle, kNote}));
}

TEST(MendSqrt, LAndDCarryOnePlaceMoreThanYAndX) {
    EXPECT_EQ(RunTriangular(MendSqrt, "3 1 1\r\n1 2 1", {"2"}, 2).report,
              CrLf({"    3    1    1", "    1    2    1", "", kEcho, "     3     1", "     1     2", "", "     1     1", kL,
                    "     1     0", "     0.333     1", kD, "     3     1.667", kY, "", "y(1)=1", "y(2)=0.67", kX,
                    "x(1)=0.2", "x(2)=0.4", "", kTitle, kNote}));
}

TEST(MendSqrt, AZeroInDStops) {
    const auto first = RunTriangular(MendSqrt, "0 1 1\r\n1 0 1", {"2"}, 6, "old");
    EXPECT_EQ(first.report, "");
    EXPECT_EQ(first.trace(), std::string(kArrayOrderPrompt) + "\nmessage\t此方法不合适#");
    // D(n) is tested only by the back substitution.
    const auto last = RunTriangular(MendSqrt, "1 2 3\r\n2 4 6", {"2"}, 6, "old");
    EXPECT_EQ(last.report, "");
    EXPECT_EQ(last.trace(), std::string(kArrayOrderPrompt) + "\nmessage\t此方法不合适#");
    const auto single = RunTriangular(MendSqrt, "0 5", {"1"}, 6, "old");
    EXPECT_EQ(single.report, "");
    EXPECT_EQ(single.trace(), std::string(kArrayOrderPrompt) + "\nmessage\t此方法不合适#");
}

TEST(MendSqrt, ANaNInDStops) {
    // D(1) in the decomposition, then D(n) in the back substitution.
    for (const std::string editor : {"0/0 1 1\r\n1 2 1", "1 2 3\r\n2 0/0 6"}) {
        const auto run = RunTriangular(MendSqrt, editor, {"2"}, 6, "old");
        EXPECT_EQ(run.report, "") << editor;
        EXPECT_EQ(run.trace(), std::string(kArrayOrderPrompt) + "\nmessage\t此方法不合适#") << editor;
    }
}

TEST(MendSqrt, OrderOne) {
    EXPECT_EQ(RunTriangular(MendSqrt, "4 8", {"1"}).report,
              CrLf({"    4    8", "", kEcho, "     4", "", "     8", kL, "     1", kD, "     4", kY, "", "y(1)=8", kX,
                    "x(1)=2", "", kTitle, kNote}));
}

TEST(MendSqrt, ASilentEndKeepsThePreviousReport) {
    for (const std::string reply : {"", "abc", "0"}) {
        const auto run = RunTriangular(MendSqrt, "4 8", {reply}, 6, "old");
        EXPECT_EQ(run.report, "old") << reply;
        EXPECT_EQ(run.trace(), kArrayOrderPrompt) << reply;
    }
}

}  // namespace
}  // namespace koravin
