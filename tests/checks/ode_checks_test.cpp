// The differential-equation checks on problems with known solutions: orders observed only above
// rounding and only where the method computed, from runs whose start values have one source, and
// errors only against a y(x) that solves the problem.

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checks/checked_run.h"
#include "numbers/number_conversions.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::RunChecked;

std::map<std::string, std::string> Fields(std::string f, std::string b, std::string divisions, std::string exact = "") {
    std::map<std::string, std::string> fields{{"Text1", f}, {"Text2", "0"}, {"Text3", b}, {"Text4", divisions}};
    if (!exact.empty()) fields["Exact"] = exact;
    return fields;
}

TEST(OdeChecks, EachVerdictSaysWhatTheRunsShow) {
    struct Case {
        std::string_view what;
        std::string_view command;
        std::vector<std::string> replies;
        std::map<std::string, std::string> fields;
        std::string block;
    };
    const Case cases[] = {
        // Runge-Kutta's errors at h = 1/32767 are far below rounding: the differences of the
        // three runs are rounding alone (they once gave "观测阶 ≈ -1.27").
        {"y' = y, 32767 steps", "UsDi_RungeKutta", {"1"}, Fields("y", "1", "32767", "exp(x)"),
         CrLf({"观测阶由 n=32767、2n、4n 等分时末节点的值估计（Richardson 外推）。",
               "三阶龙格-库塔公式Y(n)：观测阶在此步长下无法观测（n、2n、4n 的末节点值之差在舍入误差之内），理论阶 3；"
               "末节点误差 = 5.773E-15，最大误差 = 1.243E-14",
               "四阶龙格-库塔公式Y(n)：观测阶在此步长下无法观测（n、2n、4n 的末节点值之差在舍入误差之内），理论阶 4；"
               "末节点误差 = 1.332E-15，最大误差 = 9.992E-15"})},
        {"Adams with n = 3 computes nothing", "UsDi_Adams", {"1", "1.4", "1.9", "2.7"}, Fields("y", "1", "3", "exp(x)"),
         CrLf({"n ≤ 3：表中各节点的值都是给定的初始值，阿达姆斯公式一步也没有算，观测阶无法观测。",
               "阿达姆斯外插公式Y(n)：观测阶无法观测，理论阶 4；末节点误差 = 0.01828，最大误差 = 0.04773",
               "阿达姆斯内插公式Y(n)：观测阶无法观测，理论阶 4；末节点误差 = 0.01828，最大误差 = 0.04773"})},
        {"y(0) = 2 does not fit y0 = 1", "UsDi_RungeKutta", {"1"}, Fields("y", "1", "10", "exp(x)+1"),
         CrLf({"观测阶由 n=10、2n、4n 等分时末节点的值估计（Richardson 外推）。", "三阶龙格-库塔公式Y(n)：观测阶 ≈ 2.938，理论阶 3",
               "四阶龙格-库塔公式Y(n)：观测阶 ≈ 3.938，理论阶 4",
               "精确解 y(x) 与初值不符：y(0) = 2，而 y0 = 1；它不是这个初值问题的解，不计算误差。"})},
        // (eˣ + x)' = eˣ + 1, but f = y = eˣ + x; at x = 1/4 they differ by 3/4.
        {"y(0) fits, the equation does not", "UsDi_Euler", {"1"}, Fields("y", "1", "10", "exp(x)+x"),
         CrLf({"观测阶由 n=10、2n、4n 等分时末节点的值估计（Richardson 外推）。", "欧拉公式Y(n)：观测阶 ≈ 0.9067，理论阶 1",
               "Euler预估-校正公式Y(n)：观测阶 ≈ 1.936，理论阶 2",
               "精确解 y(x) 不满足方程：x = 0.25 处 y'(x) ≈ 2.284，而 f(x, y(x)) = 1.534；它不是这个方程的解，不计算误差。"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const testing::CheckedRun run = RunChecked(c.command, {.replies = c.replies, .fields = c.fields});
        EXPECT_EQ(run.block(), c.block);
        ASSERT_TRUE(run.results.columns.has_value());
        for (const ColumnCheck& column : *run.results.columns) {
            EXPECT_EQ(column.finalError.has_value(), c.block.find("误差 =") != std::string::npos);
        }
    }
}

// Adams starts every run it compares from Runge-Kutta: the observed order is the same whether
// the typed start values are exact or rounded, and whatever y(x) says. (Typed starts rounded to
// 6 places beside exact ones on the finer grids once gave an order of 8.5.)
TEST(OdeChecks, AdamsOrdersComeFromStartValuesOfOneSource) {
    const auto starts = [](int places) {
        std::vector<std::string> values{"1"};
        for (int k = 1; k <= 3; ++k) values.push_back(NumberText(RoundDigits(std::exp(k / 20.0), places)));
        return values;
    };
    const testing::CheckedRun exact = RunChecked("UsDi_Adams", {.replies = starts(16), .fields = Fields("y", "1", "20")});
    for (const auto& [places, solution] : {std::pair{6, std::string("exp(x)")}, std::pair{3, std::string("exp(x)")},
                                           std::pair{16, std::string("exp(2*x)")}}) {
        SCOPED_TRACE(std::to_string(places) + " " + solution);
        const testing::CheckedRun run =
            RunChecked("UsDi_Adams", {.replies = starts(places), .fields = Fields("y", "1", "20", solution)});
        for (std::size_t k = 0; k < 2; ++k) {
            const ColumnCheck& column = (*run.results.columns)[k];
            EXPECT_EQ(column.observedOrder, (*exact.results.columns)[k].observedOrder);
            ASSERT_TRUE(column.observedOrder.has_value());
            EXPECT_NEAR(*column.observedOrder, 4, 0.5) << column.heading;
        }
    }
}

}  // namespace
}  // namespace koravin
