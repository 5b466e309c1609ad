// The examples of the 示例 menus: each one runs with its answers to a report, every command has
// one, and the files are read as written.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "examples/examples.h"
#include "ode/ode_input.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

bool IsMessage(const InteractionEvent& event) { return event.kind == InteractionEvent::Kind::Message; }
bool IsPrompt(const InteractionEvent& event) { return event.kind == InteractionEvent::Kind::Prompt; }

TEST(examples, EachRunsWithItsAnswersToAReportAndEveryCommandHasOne) {
    std::vector<std::string> errors;
    const std::vector<Example> examples = LoadExampleFolder(KORAVIN_EXAMPLES_DIR, &errors);
    EXPECT_EQ(errors, std::vector<std::string>{});
    EXPECT_GE(examples.size(), 30U);
    std::set<std::string> titles;
    for (const Example& example : examples) {
        EXPECT_TRUE(titles.insert(ExampleTitle(example)).second) << "twice: " << ExampleTitle(example);
        // As the windows run it: Text4 passes through the division-count rule.
        CommandScript script{example.editorText, example.replies, example.answers, 6, example.fields};
        if (script.fields.contains("Text4")) script.fields["Text4"] = DivisionCountText(script.fields["Text4"]);
        const CommandRun run = RunCommand(FindCommand(example.command)->run, script);
        EXPECT_FALSE(run.report.empty()) << example.name;
        EXPECT_EQ(std::ranges::count_if(run.events, IsPrompt), std::ssize(example.replies)) << example.name;
        EXPECT_TRUE(std::ranges::none_of(run.events, IsMessage)) << example.name << "\n" << run.trace();
    }
    for (const CommandInfo& command : AllCommands()) {
        EXPECT_TRUE(std::ranges::any_of(examples, [&](const Example& example) { return example.command == command.name; }))
            << "no example of " << command.name;
    }
}

TEST(examples, FilesAreReadAsWritten) {
    struct Case {
        const char* text;
        const char* error;  // "" when the file is read
        const char* editor;
        std::vector<std::string> replies;
        std::vector<bool> answers;
    };
    const Case cases[] = {
        {"command: Gauss_1\nshows: a\nreply: 3\nanswer: 否\nanswer: 是\neditor:\n1 2\r\n\n3 4\n", "", "1 2\r\n\r\n3 4", {"3"}, {false, true}},
        {"command: Gauss_1\r\nshows: a\r\nreply: \r\neditor:\r\n", "", "", {""}, {}},
        {"command: Nothing\nshows: a\n", "x: no command named \"Nothing\"", "", {}, {}},
        {"command: Gauss_1\n", "x: no \"shows:\" line", "", {}, {}},
        {"command: Gauss_1\nshows: a\nanswer: yes\n", "x: line 3 is not \"key: value\" of a known key", "", {}, {}},
        {"command: Gauss_1\nshows: a\n2 1 -1\n", "x: line 3 is not \"key: value\" of a known key", "", {}, {}},
    };
    for (const Case& c : cases) {
        std::string error;
        const std::optional<Example> example = ParseExample("x", c.text, &error);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(example.has_value(), *c.error == '\0') << c.text;
        if (!example) continue;
        EXPECT_EQ(example->editorText, c.editor) << c.text;
        EXPECT_EQ(example->replies, c.replies) << c.text;
        EXPECT_EQ(example->answers, c.answers) << c.text;
    }
    const Example ode = *ParseExample("y", "command: UsDi_Euler\nshows: y'=y\nfield Text1: y\nexact: exp(x)\n");
    EXPECT_EQ(ode.fields, (std::map<std::string, std::string>{{"Text1", "y"}}));
    EXPECT_EQ(ode.exactSolution, "exp(x)");
    EXPECT_EQ(ExampleTitle(ode), "欧拉(Euler)方法：y'=y");
    EXPECT_EQ(ParseExampleIndex("# comment\na\n\n  b  # why\r\n"), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace koravin::testing
