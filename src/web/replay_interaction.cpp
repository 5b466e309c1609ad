#include "web/replay_interaction.h"

namespace koravin {

const ReplayAnswer* ReplayInteraction::nextAnswer(const InteractionEvent& asked) {
    if (used_ == answers_.size()) throw AwaitingAnswer{asked};
    return &answers_[used_++];
}

std::string ReplayInteraction::ask(const Prompt& prompt) {
    InteractionEvent event{InteractionEvent::Kind::Prompt,
                           prompt.title.empty() ? std::string(kApplicationTitle) : prompt.title,
                           prompt.text,
                           prompt.defaultReply,
                           {}};
    const auto* reply = std::get_if<std::optional<std::string>>(nextAnswer(event));
    if (reply == nullptr) throw MismatchedAnswer{event};
    // 取消 answers "", as an empty text does.
    event.answer = reply->value_or("");
    events_.push_back(event);
    return event.answer;
}

void ReplayInteraction::tell(std::string_view message) {
    events_.push_back({InteractionEvent::Kind::Message, std::string(kApplicationTitle), std::string(message), {}, {}});
}

bool ReplayInteraction::confirm(std::string_view question, std::string_view title) {
    InteractionEvent event{InteractionEvent::Kind::Question, std::string(title), std::string(question), {}, {}};
    const bool* yes = std::get_if<bool>(nextAnswer(event));
    if (yes == nullptr) throw MismatchedAnswer{event};
    event.answer = *yes ? "yes" : "no";
    events_.push_back(event);
    return *yes;
}

}  // namespace koravin
