#include <gtest/gtest.h>

#include <string>

#include "linear/linear_commands.h"
#include "linear/triangular_run.h"

namespace koravin {
namespace {

using testing::CrLf;
using triangular_testing::RunTriangular;

constexpr std::string_view kPrompt = "prompt\t输入数据\t输入矩阵的阶数 n：\t3";

TEST(MatrixBreak, ASingularMatrixWhoseOnlyZeroPivotIsTheLastDecomposes) {
    const auto run = RunTriangular(MatrixBreak, "1 2\r\n2 4", {"2"});
    EXPECT_EQ(run.report, CrLf({"    1    2", "    2    4", "",
                                "以上是所要分解的矩阵，接下来输出三角分解后的下三角矩阵L(n)", "    1    0", "    2    1",
                                "", "输出矩阵三角分解后的上三角矩阵U(n)", "     1     2", "", "     0     0", "", ""}));
    EXPECT_EQ(run.trace(), kPrompt);
}

TEST(MatrixBreak, FactorsAreRoundedToTheDecimalDigitsAndAnExtraColumnIsIgnored) {
    const auto run = RunTriangular(MatrixBreak, "3 1 99\r\n1 2 -99", {" 2 "}, 2);
    EXPECT_EQ(run.report, CrLf({"    3    1", "    1    2", "",
                                "以上是所要分解的矩阵，接下来输出三角分解后的下三角矩阵L(n)", "    1    0",
                                "    0.33    1", "", "输出矩阵三角分解后的上三角矩阵U(n)", "     3     1", "",
                                "     0     1.67", "", ""}));
}

TEST(MatrixBreak, OrderOneHasNoZeroTest) {
    EXPECT_EQ(RunTriangular(MatrixBreak, "0", {"1"}).report,
              CrLf({"    0", "", "以上是所要分解的矩阵，接下来输出三角分解后的下三角矩阵L(n)", "    1", "",
                    "输出矩阵三角分解后的上三角矩阵U(n)", "     0", "", ""}));
}

TEST(MatrixBreak, AZeroPivotWithARowBelowStopsWithItsOwnMessage) {
    const auto run = RunTriangular(MatrixBreak, "0 1\r\n1 0", {"2"}, 6, "old");
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), std::string(kPrompt) + "\nmessage\t此方法不合适#");
}

TEST(MatrixBreak, ANaNPivotWithARowBelowStops) {
    const auto run = RunTriangular(MatrixBreak, "0/0 1\r\n1 0", {"2"}, 6, "old");
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), std::string(kPrompt) + "\nmessage\t此方法不合适#");
}

TEST(MatrixBreak, ThePaneIsEmptiedBeforeTheOrderIsAsked) {
    for (const std::string reply : {"", " ", "x", "0"}) {
        const auto run = RunTriangular(MatrixBreak, "1 2\r\n3 4", {reply}, 6, "old");
        EXPECT_EQ(run.report, "") << reply;
        EXPECT_EQ(run.trace(), kPrompt) << reply;
    }
}

}  // namespace
}  // namespace koravin
