#pragma once

// The checks beside a report: whether its answer can be trusted and why the method behaved as
// it did, computed in double precision from the inputs as read and the answer the report gave.
// The report itself is never changed; the block is appended after it.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/interaction.h"
#include "command/run_facts.h"

namespace koravin {

inline constexpr std::string_view kCheckHeading = "—— 检验 ——";

// One column of a differential-equation table.
struct ColumnCheck {
    std::string heading;
    std::optional<double> observedOrder;
    double theoreticalOrder = 0;
    std::optional<double> finalError;
    std::optional<double> maxError;
};

struct CheckResults {
    std::string command;
    bool hasChecks = false;          // whether the command has any checks
    std::vector<std::string> lines{};  // the block as a person reads it, one line each
    // The numbers by their keys, in the order computed; nothing where a value cannot be computed.
    std::vector<std::pair<std::string, std::optional<double>>> values{};
    std::optional<std::vector<ColumnCheck>> columns{};  // the differential-equation windows

    void add(std::string_view key, std::optional<double> value);
    // The value of `key`; nullptr when the command has no such check.
    const std::optional<double>* find(std::string_view key) const;
};

// The checks of a finished run.
CheckResults ComputeChecks(const CommandInfo& command, const RunFacts& facts, const CommandContext& context);

// The block's lines joined by CR LF, without a line end after the last.
std::string CheckBlockText(const CheckResults& results);

enum class CheckBlock { Append, Omit };

// Runs the command with its facts recorded. When the command has checks and wrote to the
// pane during this run, then appends to context.result a blank line, the line "—— 检验 ——" and
// the block (CR LF line ends, same text as koravin-cli --check), unless told to omit it.
// Returns what was computed.
CheckResults RunWithChecks(const CommandInfo& command, CommandContext& context, CheckBlock block = CheckBlock::Append);

// The checks as one JSON object {"command": ..., "checks": {...}}; a value that cannot be
// computed is null.
std::string CheckResultsJson(const CheckResults& results);

}  // namespace koravin
