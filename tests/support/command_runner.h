#pragma once

// Runs a command the way the windows do, with scripted answers, and hands back what it wrote
// and every prompt, message and question on the way.

#include <map>
#include <string>
#include <vector>

#include "command/interaction.h"
#include "command/scripted_interaction.h"

namespace koravin::testing {

struct CommandScript {
    std::string editor{};
    std::vector<std::string> replies{};  // then Cancel
    std::vector<bool> answers{};         // then Yes
    int digits = 6;
    std::map<std::string, std::string> fields{};
    std::string previousReport{};        // what the result pane held before
};

struct CommandRun {
    std::string report;
    std::vector<InteractionEvent> events;
    std::string focusField;
    // The events as koravin-cli --trace writes them, one line each, joined by "\n".
    std::string trace() const;
};

CommandRun RunCommand(void (*command)(CommandContext&), const CommandScript& script);

// Joins lines with CR LF, the report line end: Lines({"a", "b"}) is "a\r\nb".
std::string CrLf(std::initializer_list<std::string_view> lines);

}  // namespace koravin::testing
