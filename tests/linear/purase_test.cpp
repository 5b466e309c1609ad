#include <gtest/gtest.h>

#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using triangular_testing::kArrayOrderPrompt;
using triangular_testing::RunTriangular;

constexpr std::string_view kEcho1 = "以上是三对角线形方程组的增广矩阵";
constexpr std::string_view kEcho2 = "接下来输出方程组的系数矩阵A、方程组的常数项向量D(n)";
constexpr std::string_view kY = "输出求解LY=D后的 Y(n)";
constexpr std::string_view kX = "输出求解UX=Y后的 X，亦既方程组的解：";
constexpr std::string_view kTitle = "追赶法解三对角线性方程组。";
constexpr std::string_view kNote = "注意：本方法仅适合于三对角线性方程组。";

const std::string kTridiagonalReport =
    CrLf({"    2    1    0    3", "    1    2    1    4", "    0    1    2    3", "", kEcho1, kEcho2, "     2     1     0",
          "     1     2     1", "     0     1     2", "", "     3     4     3", kY, "y(1)=3", "y(2)=2.5",
          "y(3)=1.3333333", "", kX, "x(1)=1", "x(2)=1", "x(3)=1", "", kTitle, kNote});

TEST(Purase, SolvesATridiagonalSystem) {
    const auto run = RunTriangular(Purase, "2 1 0 3\r\n1 2 1 4\r\n0 1 2 3", {"3"}, 6, "old");
    EXPECT_EQ(run.report, kTridiagonalReport);
    EXPECT_EQ(run.trace(), kArrayOrderPrompt);
}

TEST(Purase, EntriesOutsideTheBandAreShownAsZeroAndNeverUsed) {
    EXPECT_EQ(RunTriangular(Purase, "2 1 9 3\r\n1 2 1 4\r\n-5 1 2 3", {"3"}).report, kTridiagonalReport);
}

TEST(Purase, TheRightHandSideIsShownRounded) {
    EXPECT_EQ(RunTriangular(Purase, "3 1/3", {"1"}, 2).report,
              CrLf({"    3    0.333333333333333", "", kEcho1, kEcho2, "     3", "", "     0.333", kY, "y(1)=0.333", "",
                    kX, "x(1)=0.11", "", kTitle, kNote}));
}

TEST(Purase, OrderOne) {
    EXPECT_EQ(RunTriangular(Purase, "4 8", {"1"}).report,
              CrLf({"    4    8", "", kEcho1, kEcho2, "     4", "", "     8", kY, "y(1)=8", "", kX, "x(1)=2", "", kTitle,
                    kNote}));
}

TEST(Purase, AZeroDivisorGivesNonFiniteValuesWithoutAMessage) {
    const auto run = RunTriangular(Purase, "0 1 1\r\n1 2 3", {"2"});
    EXPECT_EQ(run.report, CrLf({"    0    1    1", "    1    2    3", "", kEcho1, kEcho2, "     0     1", "     1     2", "",
                                "     1     3", kY, "y(1)=1", "y(2)=-Inf", "", kX, "x(1)=NaN", "x(2)=NaN", "", kTitle,
                                kNote}));
    EXPECT_EQ(run.trace(), kArrayOrderPrompt);
}

TEST(Purase, ASilentEndKeepsThePreviousReport) {
    for (const std::string reply : {"", "abc", "-2"}) {
        const auto run = RunTriangular(Purase, "4 8", {reply}, 6, "old");
        EXPECT_EQ(run.report, "old") << reply;
        EXPECT_EQ(run.trace(), kArrayOrderPrompt) << reply;
    }
}

}  // namespace
}  // namespace koravin
