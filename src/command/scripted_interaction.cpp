#include "command/scripted_interaction.h"

namespace koravin {
namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace

std::string_view WorkspaceName(Workspace workspace) {
    switch (workspace) {
        case Workspace::Linear: return "LinearFrm";
        case Workspace::Nonlinear: return "Ultra";
        case Workspace::DifferentialEquation: return "UsualDiffEquation";
    }
    return "";
}

std::string TraceLine(const InteractionEvent& event) {
    switch (event.kind) {
        case InteractionEvent::Kind::Prompt:
            return "prompt\t" + Escaped(event.title) + "\t" + Escaped(event.text) + "\t" + Escaped(event.defaultReply);
        case InteractionEvent::Kind::Message:
            return "message\t" + Escaped(event.text);
        case InteractionEvent::Kind::Question:
            return "question\t" + Escaped(event.title) + "\t" + Escaped(event.text) + "\t" + event.answer;
    }
    return {};
}

ScriptedInteraction::ScriptedInteraction(std::vector<std::string> replies, std::vector<bool> answers)
    : replies_(replies.begin(), replies.end()), answers_(answers.begin(), answers.end()) {}

void ScriptedInteraction::record(InteractionEvent event) {
    events_.push_back(std::move(event));
    if (listener_) listener_(events_.back());
}

std::string ScriptedInteraction::ask(const Prompt& prompt) {
    std::string reply;
    if (!replies_.empty()) {
        reply = std::move(replies_.front());
        replies_.pop_front();
    }
    const std::string title = prompt.title.empty() ? std::string(kApplicationTitle) : prompt.title;
    record({InteractionEvent::Kind::Prompt, title, prompt.text, prompt.defaultReply, reply});
    return reply;
}

void ScriptedInteraction::tell(std::string_view message) {
    record({InteractionEvent::Kind::Message, std::string(kApplicationTitle), std::string(message), {}, {}});
}

bool ScriptedInteraction::confirm(std::string_view question, std::string_view title) {
    bool yes = true;
    if (!answers_.empty()) {
        yes = answers_.front();
        answers_.pop_front();
    }
    record({InteractionEvent::Kind::Question, std::string(title), std::string(question), {}, yes ? "yes" : "no"});
    return yes;
}

}  // namespace koravin
