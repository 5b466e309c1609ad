#include "registry/registry.h"

#include <algorithm>
#include <vector>

#include "linear/linear_commands.h"
#include "nonlinear/nonlinear_commands.h"
#include "ode/ode_commands.h"

namespace koravin {

std::span<const CommandInfo> AllCommands() {
    static const std::vector<CommandInfo> all = [] {
        std::vector<CommandInfo> commands;
        for (const auto workspace : {LinearCommands(), NonlinearCommands(), DifferentialEquationCommands()}) {
            commands.insert(commands.end(), workspace.begin(), workspace.end());
        }
        return commands;
    }();
    return all;
}

const CommandInfo* FindCommand(std::string_view name) {
    const auto commands = AllCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [name](const CommandInfo& command) { return command.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

}  // namespace koravin
