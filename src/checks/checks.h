#pragma once

// The checks beside a report: whether its answer can be trusted and why the method behaved as
// it did, computed in double precision from the inputs as read and the answer the report gave.
// The report itself is never changed; the block is appended after it.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "checks/check_results.h"
#include "command/interaction.h"
#include "command/run_facts.h"

namespace koravin {

// The checks of a finished run.
CheckResults ComputeChecks(const CommandInfo& command, const RunFacts& facts, const CommandContext& context);

enum class CheckBlock { Append, Omit };

// Runs the command with its facts recorded. When the command has checks and wrote to the
// pane during this run, then appends to context.result a blank line, the line "—— 检验 ——" and
// the block (CR LF line ends, same text as koravin-cli --check), unless told to omit it.
// Returns what was computed.
CheckResults RunWithChecks(const CommandInfo& command, CommandContext& context, CheckBlock block = CheckBlock::Append);

}  // namespace koravin
