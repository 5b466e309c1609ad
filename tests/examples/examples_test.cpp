// The examples of the 示例 menus: each one runs with its answers and ends with a report, every
// method of the menus has one, and the files are read as written.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "examples/examples.h"
#include "ode/ode_input.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

std::vector<Example> Examples() {
    std::vector<std::string> errors;
    std::vector<Example> examples = LoadExampleFolder(KORAVIN_EXAMPLES_DIR, &errors);
    for (const std::string& error : errors) ADD_FAILURE() << error;
    return examples;
}

// A run as the windows make it: Text4 passes through the division-count rule.
CommandRun RunExample(const Example& example) {
    CommandScript script{example.editorText, example.replies, example.answers, 6, example.fields};
    if (const auto count = script.fields.find("Text4"); count != script.fields.end()) {
        count->second = DivisionCountText(count->second);
    }
    return RunCommand(FindCommand(example.command)->run, script);
}

TEST(examples, EachRunsWithItsAnswersToAReport) {
    const std::vector<Example> examples = Examples();
    EXPECT_GE(examples.size(), 30U);
    for (const Example& example : examples) {
        const CommandRun run = RunExample(example);
        const auto prompts = std::count_if(run.events.begin(), run.events.end(), [](const InteractionEvent& event) {
            return event.kind == InteractionEvent::Kind::Prompt;
        });
        EXPECT_FALSE(run.report.empty()) << example.name;
        EXPECT_EQ(static_cast<std::size_t>(prompts), example.replies.size()) << example.name << "\n" << run.trace();
        EXPECT_TRUE(std::none_of(run.events.begin(), run.events.end(), [](const InteractionEvent& event) {
            return event.kind == InteractionEvent::Kind::Message;
        })) << example.name << "\n" << run.trace();
    }
}

TEST(examples, CoverEveryCommandWithDistinctTitles) {
    const std::vector<Example> examples = Examples();
    std::set<std::string> titles;
    for (const Example& example : examples) {
        EXPECT_TRUE(titles.insert(ExampleTitle(example)).second) << "twice: " << ExampleTitle(example);
    }
    for (const CommandInfo& command : AllCommands()) {
        EXPECT_TRUE(std::any_of(examples.begin(), examples.end(),
                                [&](const Example& example) { return example.command == command.name; }))
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
        {"command: Gauss_1\nshows: a", "", "", {}, {}},
        {"command: Nothing\nshows: a\n", "x: no command named \"Nothing\"", "", {}, {}},
        {"command: Gauss_1\n", "x: no \"shows:\" line", "", {}, {}},
        {"command: Gauss_1\nshows: a\nanswer: yes\n", "x: line 3 is not \"key: value\" of a known key", "", {}, {}},
        {"command: Gauss_1\nshows: a\n2 1 -1\n", "x: line 3 is not \"key: value\" of a known key", "", {}, {}},
    };
    for (const Case& c : cases) {
        std::string error;
        const std::optional<Example> example = ParseExample("x", c.text, &error);
        EXPECT_EQ(error, c.error) << c.text;
        if (!example) continue;
        EXPECT_EQ(example->editorText, c.editor) << c.text;
        EXPECT_EQ(example->replies, c.replies) << c.text;
        EXPECT_EQ(example->answers, c.answers) << c.text;
    }
    const Example fields = *ParseExample("y", "command: UsDi_Euler\nshows: y'=y\nfield Text1: y\nexact: exp(x)\nhint: h\n");
    EXPECT_EQ(fields.fields, (std::map<std::string, std::string>{{"Text1", "y"}}));
    EXPECT_EQ(fields.exactSolution, "exp(x)");
    EXPECT_EQ(ExampleTitle(fields), "欧拉(Euler)方法：y'=y");
    EXPECT_EQ(ParseExampleIndex("# comment\na\n\n  b  # why\r\n"), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace koravin::testing
