#pragma once

// Answers a command's prompts from a script, records what it was asked and told, and collects
// its report: the Interaction and Pane of koravin-cli and of the tests.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "command/interaction.h"

namespace koravin {

struct InteractionEvent {
    enum class Kind { Prompt, Message, Question };
    Kind kind;
    std::string title;         // prompts and questions; "Koravin" where a prompt has none of its own
    std::string text;
    std::string defaultReply;  // prompts
    std::string answer;        // the reply given to a prompt; "yes" or "no" to a question
};

// One line per event, tab-separated, CR and LF inside a text written as \r and \n:
// prompt<TAB>title<TAB>text<TAB>default, message<TAB>text, question<TAB>title<TAB>text<TAB>yes|no.
std::string TraceLine(const InteractionEvent& event);

class ScriptedInteraction : public Interaction {
public:
    // Replies answer the prompts in order and then "" (Cancel); answers the questions, then Yes.
    ScriptedInteraction(std::vector<std::string> replies, std::vector<bool> answers);

    std::string ask(const Prompt& prompt) override;
    void tell(std::string_view message) override;
    bool confirm(std::string_view question, std::string_view title) override;

    const std::vector<InteractionEvent>& events() const { return events_; }
    // Called with each event as it happens.
    void onEvent(std::function<void(const InteractionEvent&)> listener) { listener_ = std::move(listener); }

private:
    void record(InteractionEvent event);

    std::deque<std::string> replies_;
    std::deque<bool> answers_;
    std::vector<InteractionEvent> events_;
    std::function<void(const InteractionEvent&)> listener_;
};

class StringPane : public Pane {
public:
    explicit StringPane(std::string initialText = {}) : text_(std::move(initialText)) {}
    void clear() override { text_.clear(); }
    void append(std::string_view text) override { text_.append(text); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace koravin
