#include "ode/ode_input.h"

#include <gtest/gtest.h>

#include "ode/ode_commands.h"
#include "ode/ode_test_support.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

constexpr void (*kAllWindows[])(CommandContext&) = {UsDi_Euler, UsDi_RungeKutta, UsDi_Adams};

TEST(DivisionCountText, KeepsTheCountWithinOneTo32767AndLeavesValuesBetweenAsTyped) {
    EXPECT_EQ(DivisionCountText("0"), "1");
    EXPECT_EQ(DivisionCountText("-5"), "1");
    EXPECT_EQ(DivisionCountText(""), "1");
    EXPECT_EQ(DivisionCountText("abc"), "1");
    EXPECT_EQ(DivisionCountText("0.99"), "1");
    EXPECT_EQ(DivisionCountText("40000"), "32767");
    EXPECT_EQ(DivisionCountText("32767.4"), "32767");
    EXPECT_EQ(DivisionCountText("1e999"), "32767");
    EXPECT_EQ(DivisionCountText("1.5"), "1.5");
    EXPECT_EQ(DivisionCountText("2.5"), "2.5");
    EXPECT_EQ(DivisionCountText(" 7 steps"), " 7 steps");
    EXPECT_EQ(DivisionCountText("32767"), "32767");
    EXPECT_EQ(DivisionCountText("1"), "1");
}

TEST(OdeValidation, MissingFunctionIsToldFirstAndMovesTheFocusToText1) {
    for (const auto command : kAllWindows) {
        const auto run = RunCommand(command, OdeScript(OdeFields("   ", "", "", "0"), {}, "old"));
        EXPECT_EQ(run.trace(), "message\t没有输入函数F(x)导数。");
        EXPECT_EQ(run.focusField, "Text1");
        EXPECT_EQ(run.report, "old");
    }
}

// A table computed from a text the engine cannot read would be numbers that mean nothing.
TEST(OdeValidation, AFunctionThatCannotBeEvaluatedIsToldBeforeAnyInitialValue) {
    for (const auto command : {UsDi_Euler, UsDi_RungeKutta, UsDi_Adams}) {
        for (const char* function : {"sinn(x)", "z+1", "2*(x+y", "x,y"}) {
            const auto run = RunCommand(command, OdeScript(OdeFields(function, "0", "1", "2"), {"1", "1", "1", "1"}, "old"));
            EXPECT_EQ(run.report, "old") << function;
            EXPECT_EQ(run.trace(), "message\t函数表达式输入有误！") << function;
            EXPECT_EQ(run.focusField, "Text1");
        }
        // Bounds are still checked first, and a readable function in x and y passes.
        EXPECT_EQ(RunCommand(command, OdeScript(OdeFields("sinn(x)", "", "1", "2"))).trace(), "message\t没有输入下界值。");
        EXPECT_EQ(RunCommand(command, OdeScript(OdeFields("x*y-exp(-x)", "0", "1", "2"))).events.front().kind,
                  InteractionEvent::Kind::Prompt);
    }
}

TEST(OdeValidation, BoundsAreCheckedInOrderAndLeaveThePaneAsItWas) {
    for (const auto command : kAllWindows) {
        auto run = RunCommand(command, OdeScript(OdeFields("y", " ", "", "2"), {}, "old"));
        EXPECT_EQ(run.trace(), "message\t没有输入下界值。");
        EXPECT_EQ(run.report, "old");
        EXPECT_EQ(run.focusField, "");

        run = RunCommand(command, OdeScript(OdeFields("y", "0", "  ", "2"), {}, "old"));
        EXPECT_EQ(run.trace(), "message\t没有输入上界值。");
        EXPECT_EQ(run.report, "old");

        run = RunCommand(command, OdeScript(OdeFields("y", "1", "0.5", "2"), {}, "old"));
        EXPECT_EQ(run.trace(), "message\t上下界值输入有误！");
        EXPECT_EQ(run.report, "old");
    }
}

TEST(OdeValidation, BoundsReadTheirLeadingNumber) {
    // abc reads as 0, so a lower bound of 1e-3 lies above it.
    auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("y", "1e-3", "abc", "2"), {}, "old"));
    EXPECT_EQ(run.trace(), "message\t上下界值输入有误！");

    run = RunCommand(UsDi_Euler, OdeScript(OdeFields("0", "abc", "1e-3", "2"), {"2"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0"));
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("0", "2", "2"), Row("0.0005", "2", "2"), Row("0.001", "2", "2"), ""}));
}

TEST(OdeValidation, InfiniteBoundsRunToATableOfNotANumbers) {
    // h is Inf and 0*Inf is NaN: the first node is NaN although the prompt shows a itself.
    const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("y", "-1e999", "1e999", "1"), {"1"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("-Inf"));
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("NaN", "1", "1"), Row("NaN", "Inf", "NaN"), ""}));
}

TEST(OdeValidation, DivisionCountIsRoundedHalvesToEvenAndKeptInRange) {
    struct Case {
        const char* typed;
        std::size_t rows;
    };
    for (const Case& c : {Case{"1.5", 3}, Case{"2.5", 3}, Case{"0", 2}, Case{"-5", 2}, Case{"", 2}, Case{"40000", 32768}}) {
        const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("0", "0", "1", c.typed), {"1"}));
        std::size_t lines = 0;
        for (std::size_t at = run.report.find("\r\n"); at != std::string::npos; at = run.report.find("\r\n", at + 2)) ++lines;
        EXPECT_EQ(lines, c.rows + 1) << c.typed;
    }
}

TEST(OdeValidation, FractionalAndOutOfRangeCountsGiveTheRoundedTable) {
    const std::string twoSteps = CrLf({kEulerHeader, Row("0", "1", "1"), Row("0.5", "1.5", "1.5"), Row("1", "2", "2"), ""});
    const std::string oneStep = CrLf({kEulerHeader, Row("0", "1", "1"), Row("1", "2", "2"), ""});
    for (const auto& [typed, expected] : {std::pair{"1.5", &twoSteps}, std::pair{"2.5", &twoSteps}, std::pair{"0", &oneStep},
                                          std::pair{"-5", &oneStep}, std::pair{"", &oneStep}, std::pair{"0.4", &oneStep}}) {
        const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("1", "0", "1", typed), {"1"}));
        EXPECT_EQ(run.trace(), InitialValuePrompt("0")) << typed;
        EXPECT_EQ(run.report, *expected) << typed;
    }
}

TEST(OdeValidation, AWindowOpensWithTwoDivisions) {
    const auto run = RunCommand(UsDi_Euler, OdeScript({{"Text1", "1"}, {"Text2", "0"}, {"Text3", "1"}}, {"0"}));
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("0", "0", "0"), Row("0.5", "0.5", "0.5"), Row("1", "1", "1"), ""}));
}

TEST(OdeInitialValue, PromptShowsTheLowerBoundAndCancelLeavesThePane) {
    for (const auto command : {UsDi_Euler, UsDi_RungeKutta}) {
        const auto run = RunCommand(command, OdeScript(OdeFields("y", "-2.5", "1", "2"), {}, "old"));
        EXPECT_EQ(run.trace(), InitialValuePrompt("-2.5") + "\nmessage\t没有输入初始函数值。");
        EXPECT_EQ(run.report, "old");
    }
}

TEST(OdeInitialValue, ReplyReadsItsLeadingNumber) {
    const auto run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("0", "1E-05", "1E-05", "1"), {"3.5kg"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("1E-05"));
    EXPECT_EQ(run.report, CrLf({kRungeKuttaHeader, Row("1E-05", "3.5", "3.5"), Row("1E-05", "3.5", "3.5"), ""}));
}

TEST(OdeCommands, AreRegisteredAsTheDifferentialEquationWorkspace) {
    const std::pair<const char*, const char*> expected[] = {
        {"UsDi_Euler", "欧拉(Euler)方法"},
        {"UsDi_RungeKutta", "龙格库塔(Runge-Kutta)方法"},
        {"UsDi_Adams", "线性多步方法"},
    };
    for (const auto& [name, caption] : expected) {
        const CommandInfo* command = FindCommand(name);
        ASSERT_NE(command, nullptr) << name;
        EXPECT_EQ(command->workspace, Workspace::DifferentialEquation);
        EXPECT_EQ(command->caption, caption);
    }
}

}  // namespace
}  // namespace koravin::testing
