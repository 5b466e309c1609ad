// What the nonlinear methods and the differential-equation windows hand to the picture beside
// their reports: the same numbers the reports print, and nothing that changes a report.

#include <gtest/gtest.h>

#include <regex>

#include "expr/expression.h"
#include "expr/prepare_expression.h"
#include "nonlinear/nonlinear_commands.h"
#include "numbers/number_conversions.h"
#include "ode/ode_commands.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

struct Drawing : PictureSink {
    std::vector<IterateMark> marks;
    std::vector<std::vector<double>> table;
    std::vector<std::string> headings;
    void mark(const IterateMark& step) override { marks.push_back(step); }
    void columns(std::span<const double> x, std::string_view firstHeading, std::span<const double> first,
                 std::string_view secondHeading, std::span<const double> second) override {
        table = {{x.begin(), x.end()}, {first.begin(), first.end()}, {second.begin(), second.end()}};
        headings = {std::string(firstHeading), std::string(secondHeading)};
    }
};

struct Drawn {
    std::string report;
    Drawing drawing;
};

Drawn RunWithPicture(std::string_view command, const CommandScript& script) {
    ScriptedInteraction user(script.replies, {});
    StringPane pane;
    Drawn drawn;
    CommandContext context{script.editor, pane, user, 6, script.fields, {}, &drawn.drawing};
    FindCommand(command)->run(context);
    drawn.report = pane.text();
    EXPECT_EQ(drawn.report, RunCommand(FindCommand(command)->run, script).report) << "the picture changed the report";
    return drawn;
}

// The iterates x1, x2, ... as the report prints them.
std::vector<std::string> ReportedIterates(const std::string& report, const std::string& pattern) {
    std::vector<std::string> values;
    const std::regex line(pattern);
    for (auto match = std::sregex_iterator(report.begin(), report.end(), line); match != std::sregex_iterator(); ++match) {
        values.push_back((*match)[1]);
    }
    return values;
}

// f as the commands evaluate it.
double F(double x) {
    std::string text = "x^3-2*x-5";
    PrepareExpression(text);
    int passes = 0;
    return CompiledExpression::ForX(text).InsertValue(x, passes);
}

TEST(PictureMarks, EveryMethodMarksTheIteratesItsReportPrints) {
    struct Case {
        std::string_view command;
        std::vector<std::string> replies;
        std::string pattern;  // the iterate of each report line
        bool marksStart;
    };
    const Case cases[] = {
        {"CalculateDichotomy", {"2", "3", "0.001"}, R"( x\d+ = (\S+)   f)", true},
        {"CalculateNewton", {"3*x^2-2", "2", "1E-10"}, R"( x\d+=(\S+)    f\(x\d+\))", true},
        {"CalculateXianJie", {"2", "3", "1E-10", "1E-10"}, R"( x\d+=(\S+)    f\(x\d+\))", false},
        {"CalculateIterative", {"(2*x+5)^(1/3)", "2", "1E-8"}, R"( x\d+ = (\S+)  \|)", true},
        {"IterativeSpeedUp", {"(2*x+5)^(1/3)", "2", "0.1", "1E-8"}, R"(x\d+2=(\S+)     \|)", true},
        {"CalculateAitken", {"(2*x+5)^(1/3)", "2", "1E-8"}, R"(     x\d+=(\S+)     \|)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const Drawn drawn = RunWithPicture(c.command, {"x^3-2*x-5", c.replies});
        const std::vector<std::string> reported = ReportedIterates(drawn.report, c.pattern);
        ASSERT_FALSE(reported.empty());
        std::vector<std::string> marked;
        for (const IterateMark& step : drawn.drawing.marks) {
            EXPECT_EQ(step.index, static_cast<int>(marked.size()) + (c.marksStart ? 0 : 1));
            marked.push_back(NumberText(step.x));
        }
        if (c.marksStart) marked.erase(marked.begin());
        EXPECT_EQ(marked, reported);
    }
}

TEST(PictureMarks, BisectionBracketsNewtonTangentsSecantLines) {
    const Drawn bisection = RunWithPicture("CalculateDichotomy", {"x^3-2*x-5", {"2", "3", "0.01"}});
    const std::vector<IterateMark>& halves = bisection.drawing.marks;
    EXPECT_EQ(halves[0].bracket, std::pair(2.0, 3.0));
    EXPECT_EQ(halves[1].bracket, std::pair(2.0, 2.5));
    EXPECT_EQ(halves[2].bracket, std::pair(2.0, 2.25));

    const Drawn newton = RunWithPicture("CalculateNewton", {"x^3-2*x-5", {"3*x^2-2", "2", "1E-10"}});
    const std::vector<IterateMark>& tangents = newton.drawing.marks;
    for (std::size_t k = 1; k < tangents.size(); ++k) {
        ASSERT_EQ(tangents[k].through.size(), 1u);
        EXPECT_EQ(tangents[k].through[0].x, tangents[k - 1].x);
        EXPECT_EQ(tangents[k].through[0].y, F(tangents[k - 1].x));
    }

    const Drawn secant = RunWithPicture("CalculateXianJie", {"x^3-2*x-5", {"2", "3", "1E-10", "1E-10"}});
    const std::vector<IterateMark>& lines = secant.drawing.marks;
    ASSERT_EQ(lines[0].through.size(), 2u);
    EXPECT_EQ(lines[0].through[0].x, 2.0);
    EXPECT_EQ(lines[0].through[1].x, 3.0);
    EXPECT_EQ(lines[1].through[0].x, 3.0);
    EXPECT_EQ(lines[1].through[1].x, lines[0].x);
}

TEST(PictureMarks, TheDifferentialEquationTableHandsBothColumns) {
    CommandScript script;
    script.fields = {{"Text1", "y"}, {"Text2", "0"}, {"Text3", "1"}, {"Text4", "4"}};
    script.replies = {"1"};
    const Drawn drawn = RunWithPicture("UsDi_RungeKutta", script);
    ASSERT_EQ(drawn.drawing.table.size(), 3u);
    EXPECT_EQ(drawn.drawing.table[0], (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(drawn.drawing.headings, (std::vector<std::string>{"三阶龙格-库塔公式Y(n)", "四阶龙格-库塔公式Y(n)"}));
    EXPECT_NE(drawn.report.find(NumberText(drawn.drawing.table[2][4])), std::string::npos);
}

}  // namespace
}  // namespace koravin::testing
