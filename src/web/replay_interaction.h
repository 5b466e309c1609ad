#pragma once

// The answers of a browser page, replayed: a command runs from its start with every answer the
// person has given so far, and stops at the first prompt or question that has none yet. The page
// then asks the person and runs it again with one answer more. Commands are deterministic, so the
// last run ends with exactly the report that all the answers at once give.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "command/scripted_interaction.h"

namespace koravin {

// An answer: the text typed into a prompt (nothing for 取消), or 是 (true) / 否 (false).
using ReplayAnswer = std::variant<std::optional<std::string>, bool>;

// Thrown out of the command when it asks more than was answered; the command's own objects
// unwind with it, and nothing it computed is kept.
struct AwaitingAnswer {
    InteractionEvent pending;
};

// Thrown when an answer does not fit what it answers (a text for a yes/no question or 是/否 for a
// prompt): the page and the command disagree, and going on would answer something else.
struct MismatchedAnswer {
    InteractionEvent asked;
};

class ReplayInteraction : public Interaction {
public:
    explicit ReplayInteraction(std::vector<ReplayAnswer> answers) : answers_(std::move(answers)) {}

    std::string ask(const Prompt& prompt) override;
    void tell(std::string_view message) override;
    bool confirm(std::string_view question, std::string_view title) override;

    // Every prompt and question answered so far and every message, in order.
    const std::vector<InteractionEvent>& events() const { return events_; }

private:
    const ReplayAnswer* nextAnswer(const InteractionEvent& asked);

    std::vector<ReplayAnswer> answers_;
    std::size_t used_ = 0;
    std::vector<InteractionEvent> events_;
};

}  // namespace koravin
