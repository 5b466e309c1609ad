#include <gtest/gtest.h>

#include "linear/linear_commands.h"
#include "support/command_runner.h"
#include "linear/linear_input.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::RunCommand;

const std::string kOrderPrompt = "prompt\tKoravin\t输入矩阵的阶数 n：\t";

TEST(A_matrix, InverseOfTwoByTwo) {
    const auto run = RunCommand(A_matrix, {.editor = "2 1\r\n1 1", .replies = {"2"}, .previousReport = "old"});
    EXPECT_EQ(run.report, CrLf({"  2  1", "  1  1", "", "输出矩阵选主元、消元后的结果", "  1  0  1  -1",
                                "  0  1  -1  2", "", "矩阵的逆为：", "  1  -1", "  -1  2", "", "",
                                "选主元消去法的应用——求矩阵的逆。"}));
    EXPECT_EQ(run.trace(), kOrderPrompt);
}

TEST(A_matrix, PivotFromTheLastRow) {
    EXPECT_EQ(RunCommand(A_matrix, {.editor = "1 2 0\r\n0 1 1\r\n4 0 1", .replies = {"3"}}).report,
              CrLf({"  1  2  0", "  0  1  1", "  4  0  1", "", "输出矩阵选主元、消元后的结果",
                    "  1  0  0  0.1111111  -0.2222222  0.2222222", "  0  1  0  0.4444444  0.1111111  -0.1111111",
                    "  0  0  1  -0.4444444  0.8888889  0.1111111", "", "矩阵的逆为：",
                    "  0.111111  -0.222222  0.222222", "  0.444444  0.111111  -0.111111",
                    "  -0.444444  0.888889  0.111111", "", "", "选主元消去法的应用——求矩阵的逆。"}));
}

TEST(A_matrix, ASingularMatrixCarriesNonFiniteValues) {
    const auto run = RunCommand(A_matrix, {.editor = "1 2\r\n2 4", .replies = {"2"}});
    EXPECT_TRUE(run.report.ends_with(CrLf({"矩阵的逆为：", "  -Inf  Inf", "  Inf  -Inf", "", "",
                                           "选主元消去法的应用——求矩阵的逆。"})));
    // The second pivot is 0: the row above is eliminated with an infinite multiplier, then divided by 0.
    EXPECT_EQ(run.report, CrLf({"  1  2", "  2  4", "", "输出矩阵选主元、消元后的结果", "  1  NaN  -Inf  Inf",
                                "  NaN  NaN  Inf  -Inf", "", "矩阵的逆为：", "  -Inf  Inf", "  Inf  -Inf", "", "",
                                "选主元消去法的应用——求矩阵的逆。"}));
    EXPECT_EQ(run.trace(), kOrderPrompt);
}

TEST(A_range, DeterminantWithOneExchange) {
    const auto run = RunCommand(A_range, {.editor = "1 2\r\n3 4", .replies = {"2"}, .previousReport = "old"});
    EXPECT_EQ(run.report, CrLf({"  1  2", "  3  4", "", "输出行列式选主元、消元后的结果", "  3  4", "  0  0.6666667", "",
                                "行、列共交换 1 次", "", "行列式的值为：", "   -2", "", "选主元消去法的应用——求行列式的值。"}));
    EXPECT_EQ(run.trace(), kOrderPrompt);
}

TEST(A_range, IdentityOrderOneAndSingular) {
    EXPECT_TRUE(RunCommand(A_range, {.editor = "1 0 0\r\n0 1 0\r\n0 0 1", .replies = {"3"}})
                    .report.ends_with(CrLf({"行、列共交换 0 次", "", "行列式的值为：", "   1", "",
                                            "选主元消去法的应用——求行列式的值。"})));
    EXPECT_EQ(RunCommand(A_range, {.editor = "-2.5", .replies = {"1"}}).report,
              CrLf({"  -2.5", "", "输出行列式选主元、消元后的结果", "  -2.5", "", "行、列共交换 0 次", "",
                    "行列式的值为：", "   -2.5", "", "选主元消去法的应用——求行列式的值。"}));
    EXPECT_EQ(RunCommand(A_range, {.editor = "0 1\r\n0 2", .replies = {"2"}}).report,
              CrLf({"  0  1", "  0  2", "", "输出行列式选主元、消元后的结果", "  0  1", "  0  2", "",
                    "行、列共交换 0 次", "", "行列式的值为：", "   0", "", "选主元消去法的应用——求行列式的值。"}));
}

TEST(PivotApplications, RepliesWithoutAPositiveOrderKeepThePreviousReport) {
    for (const auto command : {A_matrix, A_range}) {
        for (const char* reply : {"", "0", "-2", "abc"}) {
            const auto run = RunCommand(command, {.editor = "1 2", .replies = {reply}, .previousReport = "old"});
            EXPECT_EQ(run.report, "old") << reply;
            EXPECT_EQ(run.trace(), kOrderPrompt) << reply;
        }
        const auto tooLarge = RunCommand(command, {.editor = "1 2", .replies = {"32767"}, .previousReport = "old"});
        EXPECT_EQ(tooLarge.report, "");
        EXPECT_EQ(tooLarge.trace(), kOrderPrompt + "\nmessage\t" + std::string(kOrderTooLargeMessage));
    }
}

}  // namespace
}  // namespace koravin
