#pragma once

// RunCommand with every script field defaulted, so that a test names only the fields it sets.

#include <string>
#include <vector>

#include "support/command_runner.h"

namespace koravin::analysis_testing {

struct Script {
    std::string editor{};
    std::vector<std::string> replies{};
    std::vector<bool> answers{};
    int digits = 6;
    std::string previousReport{};
};

inline testing::CommandRun RunScripted(void (*command)(CommandContext&), const Script& script) {
    testing::CommandScript full;
    full.editor = script.editor;
    full.replies = script.replies;
    full.answers = script.answers;
    full.digits = script.digits;
    full.previousReport = script.previousReport;
    return testing::RunCommand(command, full);
}

}  // namespace koravin::analysis_testing
