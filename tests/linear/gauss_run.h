#pragma once

// RunCommand with the script fields these tests use, each defaulted, so that designated
// initializers may leave any of them out.

#include <string>
#include <vector>

#include "support/command_runner.h"

namespace koravin::gauss_testing {

struct Script {
    std::string editor{};
    std::vector<std::string> replies{};
    int digits = 6;
    std::string previousReport{};
};

inline testing::CommandRun RunGauss(void (*command)(CommandContext&), const Script& script) {
    testing::CommandScript full;
    full.editor = script.editor;
    full.replies = script.replies;
    full.digits = script.digits;
    full.previousReport = script.previousReport;
    return testing::RunCommand(command, full);
}

}  // namespace koravin::gauss_testing
