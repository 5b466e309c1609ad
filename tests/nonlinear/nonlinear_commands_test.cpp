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

TEST(NonlinearCommands, CancellingAnyPromptEndsSilentlyAndKeepsThePreviousReport) {
    for (const auto& sequence : AllPromptSequences()) {
        for (std::size_t cancelled = 0; cancelled < sequence.prompts.size(); ++cancelled) {
            const std::vector<std::string> replies(sequence.acceptedReplies.begin(),
                                                   sequence.acceptedReplies.begin() + cancelled);
            const auto run = RunCommand(sequence.command,
                                        Script("x^2-2", replies, "earlier"));
            SCOPED_TRACE(sequence.prompts[cancelled].text);
            EXPECT_EQ(run.report, "earlier");
            EXPECT_EQ(run.trace(), FirstPromptsTrace(sequence, cancelled + 1));
        }
    }
}

TEST(NonlinearCommands, AnAnswerOfBlanksEndsLikeCancelWhereAnswersAreTrimmed) {
    for (const auto& sequence : AllPromptSequences()) {
        for (std::size_t blank = 0; blank < sequence.prompts.size(); ++blank) {
            if (!sequence.trimmed[blank]) continue;  // see the fixed-point iteration's own tests
            std::vector<std::string> replies(sequence.acceptedReplies.begin(),
                                             sequence.acceptedReplies.begin() + blank);
            replies.push_back("   ");
            replies.insert(replies.end(), sequence.acceptedReplies.begin() + blank + 1,
                           sequence.acceptedReplies.end());
            const auto run = RunCommand(sequence.command,
                                        Script("x^2-2", replies, "earlier"));
            SCOPED_TRACE(sequence.prompts[blank].text);
            EXPECT_EQ(run.report, "earlier");
            EXPECT_EQ(run.trace(), FirstPromptsTrace(sequence, blank + 1));
        }
    }
}

}  // namespace
}  // namespace koravin::testing
