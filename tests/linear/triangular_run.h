#pragma once

// Runs a triangular decomposition command with scripted replies.

#include <string>
#include <string_view>
#include <vector>

#include "support/command_runner.h"

namespace koravin::triangular_testing {

inline testing::CommandRun RunTriangular(void (*command)(CommandContext&), std::string editor, std::vector<std::string> replies,
                               int digits = 6, std::string previousReport = "") {
    testing::CommandScript script;
    script.editor = std::move(editor);
    script.replies = std::move(replies);
    script.digits = digits;
    script.previousReport = std::move(previousReport);
    return testing::RunCommand(command, script);
}

inline constexpr std::string_view kSystemOrderPrompt = "prompt\tKoravin\t输入方程组系数矩阵的阶数 n：\t";
inline constexpr std::string_view kArrayOrderPrompt = "prompt\tKoravin\t输入数组的阶数 n：\t";

}  // namespace koravin::triangular_testing
