#include "support/command_runner.h"

namespace koravin::testing {

std::string CommandRun::trace() const {
    std::string text;
    for (const auto& event : events) {
        if (!text.empty()) text += '\n';
        text += TraceLine(event);
    }
    return text;
}

CommandRun RunCommand(void (*command)(CommandContext&), const CommandScript& script) {
    ScriptedInteraction user(script.replies, script.answers);
    StringPane pane(script.previousReport);
    CommandContext context{script.editor, pane, user, script.digits, script.fields, {}};
    command(context);
    return {pane.text(), user.events(), context.focusField};
}

std::string CrLf(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (const auto line : lines) {
        if (!first) text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

}  // namespace koravin::testing
