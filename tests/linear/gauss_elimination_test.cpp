#include <gtest/gtest.h>

#include "linear/linear_commands.h"
#include "linear/gauss_family.h"
#include "support/command_runner.h"
#include "linear/linear_input.h"
#include "matrix/matrix_routines.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::RunCommand;

const std::string kGaussPrompt = "prompt\t输入数据\t输入矩阵的阶数 n：\t3";
const std::string kTierPrompt = "prompt\tKoravin\t输入方程组系数矩阵的阶数 n：\t";

TEST(Gauss_1, WorkedExample) {
    const auto run = RunCommand(Gauss_1, {.editor = "2 1 -1 8\r\n-3 -1 2 -11\r\n-2 1 2 -3", .replies = {"3"},
                                          .previousReport = "old"});
    EXPECT_EQ(run.report, CrLf({"  2  1  -1  8", "  -3  -1  2  -11", "  -2  1  2  -3", "",
                                "输出方程组增广矩阵消元后的结果", "  2  1  -1  8", "  0  0.5  0.5  1",
                                "  0  0  -1  1", "", "输出求解结果", "x(1)=2", "x(2)=3", "x(3)=-1", "",
                                "Gauss消去法解线性方程组"}));
    EXPECT_EQ(run.trace(), kGaussPrompt);
}

TEST(Gauss_1, OrderOneAndInputAsRead) {
    EXPECT_EQ(RunCommand(Gauss_1, {.editor = "  4 8  ", .replies = {"1"}}).report,
              CrLf({"  4  8", "", "输出方程组增广矩阵消元后的结果", "  4  8", "", "输出求解结果", "x(1)=2", "",
                    "Gauss消去法解线性方程组"}));
    const auto third = RunCommand(Gauss_1, {.editor = "1/3 1/3", .replies = {"1"}});
    EXPECT_TRUE(third.report.starts_with("  0.333333333333333  0.333333333333333\r\n\r\n"));
    EXPECT_TRUE(third.report.ends_with("x(1)=1\r\n\r\nGauss消去法解线性方程组"));
}

TEST(Gauss_1, StoredValuesKeepOnePlaceMore) {
    // 2 - 1.6651 = 0.3349 is stored as 0.335 and so printed 0.34 with two places.
    EXPECT_EQ(RunCommand(Gauss_1, {.editor = "1 1.6651 0\r\n1 2 0", .replies = {"2"}, .digits = 2}).report,
              CrLf({"  1  1.6651  0", "  1  2  0", "", "输出方程组增广矩阵消元后的结果", "  1  1.67  0",
                    "  0  0.34  0", "", "输出求解结果", "x(1)=0", "x(2)=0", "", "Gauss消去法解线性方程组"}));
}

TEST(Gauss_1, RepliesRoundHalvesToEven) {
    const std::string editor = "1 0 0 0 1\r\n0 1 0 0 2\r\n0 0 1 0 3\r\n0 0 0 1 4";
    EXPECT_TRUE(RunCommand(Gauss_1, {.editor = editor, .replies = {"2.5"}}).report.ends_with(
        "  0  1  0\r\n\r\n输出求解结果\r\nx(1)=0\r\nx(2)=0\r\n\r\nGauss消去法解线性方程组"));
    EXPECT_TRUE(RunCommand(Gauss_1, {.editor = editor, .replies = {" 3.5 "}}).report.ends_with(
        "x(4)=4\r\n\r\nGauss消去法解线性方程组"));
}

TEST(Gauss_1, RepliesWithoutAPositiveOrderKeepThePreviousReport) {
    for (const char* reply : {"", "   ", "abc", "0", "-3", "40000"}) {
        const auto run = RunCommand(Gauss_1, {.editor = "1 2", .replies = {reply}, .previousReport = "old"});
        EXPECT_EQ(run.report, "old") << reply;
        EXPECT_EQ(run.trace(), kGaussPrompt) << reply;
    }
    const auto cancelled = RunCommand(Gauss_1, {.editor = "1 2", .previousReport = "old"});
    EXPECT_EQ(cancelled.report, "old");
}

TEST(Gauss_1, AnOrderTooLargeIsRefusedWithAMessage) {
    const auto run = RunCommand(Gauss_1, {.editor = "1 2", .replies = {"32767"}, .previousReport = "old"});
    EXPECT_EQ(run.report, "old");
    EXPECT_EQ(run.trace(), kGaussPrompt + "\nmessage\t" + std::string(kOrderTooLargeMessage));
}

TEST(Gauss_1, AZeroPivotCarriesInfinitiesIntoTheReport) {
    const auto run = RunCommand(Gauss_1, {.editor = "0 1 1\r\n1 0 1", .replies = {"2"}});
    EXPECT_EQ(run.report, CrLf({"  0  1  1", "  1  0  1", "", "输出方程组增广矩阵消元后的结果", "  0  1  1",
                                "  NaN  -Inf  -Inf", "", "输出求解结果", "x(1)=NaN", "x(2)=NaN", "",
                                "Gauss消去法解线性方程组"}));
    EXPECT_EQ(run.trace(), kGaussPrompt);
}

TEST(GaussTier, WorkedExampleWithSevenPlaceIntermediates) {
    const auto run = RunCommand(GaussTier, {.editor = "1 2 5\r\n3 4 11", .replies = {"2"}});
    EXPECT_EQ(run.report, CrLf({"  1  2  5", "  3  4  11", "", "输出方程组增广矩阵选主元、消元后的结果",
                                "  3  4  11", "  0  0.666667  1.333333", "", "输出求解结果", "x(1)=1", "x(2)=2",
                                "", "Gauss列主元消去法解线性方程组"}));
    EXPECT_EQ(run.trace(), kTierPrompt);
    // The same steps with their 7-place intermediates and the unrounded x(2).
    Matrix w(2, 3);
    w(1, 1) = 1, w(1, 2) = 2, w(1, 3) = 5;
    w(2, 1) = 3, w(2, 2) = 4, w(2, 3) = 11;
    const FixedRounding seven(7);
    for (int k = 1; k <= 2; ++k) {
        BringPivotRowUp(w, k, 2, 3);
        EliminateColumnBelow(w, k, 2, 3, seven);
    }
    EXPECT_EQ(w(1, 1), 3);
    EXPECT_EQ(w(2, 1), 0);
    EXPECT_EQ(w(2, 2), 0.6666667);
    EXPECT_EQ(w(2, 3), 1.3333333);
    const Vector x = BackSubstitute(w, 2, seven);
    EXPECT_EQ(x(2), 1.3333333 / 0.6666667);
    EXPECT_EQ(x(1), 1.0000002);
}

TEST(GaussTier, ExchangesRowsForAZeroLeadingEntry) {
    EXPECT_EQ(RunCommand(GaussTier, {.editor = "0 1 1\r\n1 0 1", .replies = {"2"}}).report,
              CrLf({"  0  1  1", "  1  0  1", "", "输出方程组增广矩阵选主元、消元后的结果", "  1  0  1",
                    "  0  1  1", "", "输出求解结果", "x(1)=1", "x(2)=1", "", "Gauss列主元消去法解线性方程组"}));
}

TEST(GaussTier, OfEqualMagnitudesTheUpperRowIsThePivot) {
    EXPECT_EQ(RunCommand(GaussTier, {.editor = "1 1 1 3\r\n-3 1 1 -1\r\n3 1 2 6", .replies = {"3"}}).report,
              CrLf({"  1  1  1  3", "  -3  1  1  -1", "  3  1  2  6", "", "输出方程组增广矩阵选主元、消元后的结果",
                    "  -3  1  1  -1", "  0  2  3  5", "  0  0  -0.666667  -0.666667", "", "输出求解结果",
                    "x(1)=1", "x(2)=1", "x(3)=1", "", "Gauss列主元消去法解线性方程组"}));
}

TEST(GaussTier, ThePaneIsEmptiedBeforeAsking) {
    for (const char* reply : {"", "0", "x"}) {
        const auto run = RunCommand(GaussTier, {.editor = "1 2", .replies = {reply}, .previousReport = "old"});
        EXPECT_EQ(run.report, "") << reply;
        EXPECT_EQ(run.trace(), kTierPrompt) << reply;
    }
    const auto tooLarge = RunCommand(GaussTier, {.editor = "1 2", .replies = {"32767"}, .previousReport = "old"});
    EXPECT_EQ(tooLarge.report, "");
    EXPECT_EQ(tooLarge.trace(), kTierPrompt + "\nmessage\t" + std::string(kOrderTooLargeMessage));
}

TEST(GaussTier, ASingularSystemGivesNoMessage) {
    const auto run = RunCommand(GaussTier, {.editor = "1 2 3\r\n1 2 3", .replies = {"2"}});
    EXPECT_EQ(run.report, CrLf({"  1  2  3", "  1  2  3", "", "输出方程组增广矩阵选主元、消元后的结果", "  1  2  3",
                                "  0  0  0", "", "输出求解结果", "x(1)=NaN", "x(2)=NaN", "",
                                "Gauss列主元消去法解线性方程组"}));
    EXPECT_EQ(run.trace(), kTierPrompt);
}

}  // namespace
}  // namespace koravin
