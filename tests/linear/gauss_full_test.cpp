#include "linear/gauss_full.h"

#include <gtest/gtest.h>

#include "linear/linear_commands.h"
#include "support/command_runner.h"
#include "linear/linear_input.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::RunCommand;

const std::string kFullPrompt = "prompt\tKoravin\t输入方程组系数矩阵的阶数 n：\t";

TEST(GaussFull, WorkedExampleEndsWithALineEnd) {
    const auto run = RunCommand(GaussFull, {.editor = "1 2 3 14\r\n2 5 4 24\r\n3 1 6 23", .replies = {"3"}});
    EXPECT_EQ(run.report, CrLf({"  1  2  3  14", "  2  5  4  24", "  3  1  6  23", "",
                                "输出方程组增广矩阵选主元、消元后的结果", "  6  1  3  23", "  0  4.333333  0  8.666667",
                                "  0  0  -0.5  -0.5", "", "输出求解结果：", "x(3)=3", "x(2)=2", "x(1)=1", "",
                                "Gauss全主元消去法解线性方程组", ""}));
    EXPECT_EQ(run.trace(), kFullPrompt);
}

TEST(GaussFull, SolutionLinesFollowTheColumns) {
    EXPECT_EQ(RunCommand(GaussFull, {.editor = "1 2 5\r\n3 4 11", .replies = {"2"}}).report,
              CrLf({"  1  2  5", "  3  4  11", "", "输出方程组增广矩阵选主元、消元后的结果", "  4  3  11",
                    "  0  -0.5  -0.5", "", "输出求解结果：", "x(2)=2", "x(1)=1", "", "Gauss全主元消去法解线性方程组",
                    ""}));
    EXPECT_EQ(RunCommand(GaussFull, {.editor = "4 8", .replies = {"1"}}).report,
              CrLf({"  4  8", "", "输出方程组增广矩阵选主元、消元后的结果", "  4  8", "", "输出求解结果：", "x(1)=2", "",
                    "Gauss全主元消去法解线性方程组", ""}));
}

TEST(GaussFull, AColumnExchangeLateOnReachesTheReducedRows) {
    // At step 4 the pivot 5 lies in the block's last column: columns 4 and 5 change places in row 1 too.
    const auto run = RunCommand(GaussFull, {.editor = "100 0 0 7 3 143\r\n0 90 0 0 0 180\r\n0 0 80 0 0 240\r\n"
                                                      "1 2 3 1 5 43\r\n1 1 1 2 1 19",
                                            .replies = {"5"}});
    EXPECT_TRUE(run.report.ends_with(CrLf({"输出方程组增广矩阵选主元、消元后的结果", "  100  0  0  3  7  143",
                                           "  0  90  0  0  0  180", "  0  0  80  0  0  240",
                                           "  0  0  0  4.97  0.93  28.57", "  0  0  0  0  1.748491  6.993964", "",
                                           "输出求解结果：", "x(1)=1", "x(2)=2", "x(3)=3", "x(5)=5", "x(4)=4", "",
                                           "Gauss全主元消去法解线性方程组", ""})));
}

TEST(GaussFull, RepliesWithoutAPositiveOrderKeepThePreviousReport) {
    for (const char* reply : {"", "0", "-1", "abc"}) {
        const auto run = RunCommand(GaussFull, {.editor = "1 2", .replies = {reply}, .previousReport = "old"});
        EXPECT_EQ(run.report, "old") << reply;
        EXPECT_EQ(run.trace(), kFullPrompt) << reply;
    }
    const auto tooLarge = RunCommand(GaussFull, {.editor = "1 2", .replies = {"32767"}, .previousReport = "old"});
    EXPECT_EQ(tooLarge.report, "old");
    EXPECT_EQ(tooLarge.trace(), kFullPrompt + "\nmessage\t" + std::string(kOrderTooLargeMessage));
}

TEST(GaussFull, ASingularSystemGivesNoMessage) {
    const auto run = RunCommand(GaussFull, {.editor = "1 2 3\r\n2 4 6", .replies = {"2"}});
    EXPECT_NE(run.report.find("NaN"), std::string::npos);
    // The block left after the first step is all 0: 0/0 for the last unknown, and on from there.
    EXPECT_EQ(run.report, CrLf({"  1  2  3", "  2  4  6", "", "输出方程组增广矩阵选主元、消元后的结果", "  4  2  6",
                                "  0  0  0", "", "输出求解结果：", "x(2)=NaN", "x(1)=NaN", "",
                                "Gauss全主元消去法解线性方程组", ""}));
    EXPECT_EQ(run.trace(), kFullPrompt);
}

TEST(GaussFull, OfEqualMagnitudesTheFirstInRowOrderIsThePivot) {
    // The -3 at (1, 2) is met before the 3 at (2, 1): a column exchange, no row exchange.
    const auto run = RunCommand(GaussFull, {.editor = "1 -3 1\r\n3 2 2", .replies = {"2"}});
    EXPECT_EQ(run.report, CrLf({"  1  -3  1", "  3  2  2", "", "输出方程组增广矩阵选主元、消元后的结果", "  -3  1  1",
                                "  0  3.666667  2.666667", "", "输出求解结果：", "x(2)=-0.090909", "x(1)=0.727273", "",
                                "Gauss全主元消去法解线性方程组", ""}));
}

TEST(GaussFullBlocks, CopyTrailingBlockAndEliminantFirst) {
    Matrix w(3, 4);
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 4; ++j) w(i, j) = 10 * i + j;
    }
    Matrix s(2, 3);
    CopyTrailingBlock(w, 3, 2, s);
    EXPECT_EQ(s(1, 1), 22);
    EXPECT_EQ(s(1, 3), 24);
    EXPECT_EQ(s(2, 1), 32);
    EXPECT_EQ(s(2, 3), 34);

    Matrix block(2, 3);
    block(1, 1) = 3;
    block(1, 2) = 1;
    block(1, 3) = 1;
    block(2, 1) = 1;
    block(2, 2) = 1;
    block(2, 3) = 0;
    EliminantFirst(block, 2, FixedRounding(3));
    EXPECT_EQ(block(1, 1), 3);  // the pivot row stays
    EXPECT_EQ(block(2, 1), 0);
    EXPECT_EQ(block(2, 2), 0.667);
    EXPECT_EQ(block(2, 3), -0.333);
}

}  // namespace
}  // namespace koravin
