#pragma once

// Runs a command with its checks, as the windows and koravin-cli do, for the checks' tests.

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "checks/checks.h"
#include "command/scripted_interaction.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {

struct CheckedRun {
    std::string report;
    std::string trace;
    CheckResults results;
    // The lines after the heading "—— 检验 ——", joined by CR LF.
    std::string block() const { return CheckBlockText(results); }
};

inline CheckedRun RunChecked(std::string_view name, const CommandScript& script, CheckBlock block = CheckBlock::Append) {
    ScriptedInteraction user(script.replies, script.answers);
    StringPane pane(script.previousReport);
    CommandContext context{script.editor, pane, user, script.digits, script.fields, {}};
    CheckResults results = RunWithChecks(*FindCommand(name), context, block);
    return {pane.text(), CommandRun{{}, user.events(), {}}.trace(), std::move(results)};
}

// The value under `key`, NaN (and a failure) when there is none.
inline double Value(const CheckResults& results, std::string_view key) {
    const std::optional<double>* value = results.find(key);
    EXPECT_TRUE(value != nullptr && value->has_value()) << key;
    return value != nullptr && value->has_value() ? **value : std::nan("");
}

// Whether `key` is there with the value null.
inline bool IsNull(const CheckResults& results, std::string_view key) {
    const std::optional<double>* value = results.find(key);
    return value != nullptr && !value->has_value();
}

}  // namespace koravin::testing
