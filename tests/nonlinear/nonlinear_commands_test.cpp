#include "nonlinear/nonlinear_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonlinear/nonlinear_test_support.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

TEST(NonlinearCommands, AreListedInMenuOrderWithTheirCaptions) {
    const auto commands = NonlinearCommands();
    const std::vector<std::pair<std::string_view, std::string_view>> expected = {
        {"CalculateDichotomy", "二分法"}, {"CalculateIterative", "迭代法"}, {"IterativeSpeedUp", "迭代-加速法"},
        {"CalculateAitken", "埃特金加速法"}, {"CalculateNewton", "牛顿切线法"}, {"CalculateXianJie", "弦截法"},
    };
    ASSERT_EQ(commands.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(commands[k].name, expected[k].first);
        EXPECT_EQ(commands[k].caption, expected[k].second);
        EXPECT_EQ(commands[k].workspace, Workspace::Nonlinear);
        const CommandInfo* registered = FindCommand(expected[k].first);
        ASSERT_NE(registered, nullptr);
        EXPECT_EQ(registered->run, commands[k].run);
    }
}

struct PromptSequence {
    void (*command)(CommandContext&);
    std::vector<ExpectedPrompt> prompts;
    std::vector<std::string> acceptedReplies;
    std::vector<bool> trimmed;  // whether an answer of blanks only ends the command like Cancel
};

std::vector<PromptSequence> AllPromptSequences() {
    return {
        {CalculateDichotomy, {kLowerBoundPrompt, kUpperBoundPrompt, kIterationPrecisionPrompt}, {"0", "2", "0.1"},
         {true, true, true}},
        {CalculateIterative, {kEquivalentEquationPrompt, kIterationStartPrompt, kIterationPrecisionPrompt},
         {"x/2", "1", "0.1"}, {true, false, false}},
        {IterativeSpeedUp, {kIterationEquationPrompt, kIterationStartPrompt, kFactorPrompt, kIterationPrecisionPrompt},
         {"x/2", "1", "0.5", "0.1"}, {true, true, true, true}},
        {CalculateAitken, {kIterationEquationPrompt, kIterationStartPrompt, kIterationPrecisionPrompt},
         {"x/2", "1", "0.1"}, {true, true, true}},
        {CalculateNewton, {kDerivativePrompt, kNewtonStartPrompt, kNewtonPrecisionPrompt}, {"2*x", "1", "0.1"},
         {true, true, true}},
        {CalculateXianJie, {kSecantLowerPrompt, kSecantUpperPrompt, kValuePrecisionPrompt, kRootPrecisionPrompt},
         {"0", "2", "0.1", "0.1"}, {true, true, true, true}},
    };
}

std::string FirstPromptsTrace(const PromptSequence& sequence, std::size_t count) {
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0) text += '\n';
        text += PromptTrace(sequence.prompts[k]);
    }
    return text;
}

// Cancel answers ""; where answers are trimmed, blanks alone end the command the same way.
TEST(NonlinearCommands, AnEmptyAnswerAtAnyPromptEndsSilentlyAndKeepsThePreviousReport) {
    for (const auto& sequence : AllPromptSequences()) {
        for (std::size_t ending = 0; ending < sequence.prompts.size(); ++ending) {
            for (const std::string empty : {"", "   "}) {
                if (!empty.empty() && !sequence.trimmed[ending]) continue;  // blanks read as 0 there
                std::vector<std::string> replies(sequence.acceptedReplies);
                replies[ending] = empty;
                const auto run = RunCommand(sequence.command, Script("x^2-2", replies, "earlier"));
                SCOPED_TRACE(std::string(sequence.prompts[ending].text) + " answered \"" + empty + "\"");
                EXPECT_EQ(run.report, "earlier");
                EXPECT_EQ(run.trace(), FirstPromptsTrace(sequence, ending + 1));
            }
        }
    }
}

}  // namespace
}  // namespace koravin::testing
