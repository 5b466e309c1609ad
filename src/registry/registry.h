#pragma once

#include <span>
#include <string_view>

#include "command/interaction.h"

namespace koravin {

// Every command of every workspace, the linear ones first, then the nonlinear, then the
// differential-equation ones, each in menu order.
std::span<const CommandInfo> AllCommands();

const CommandInfo* FindCommand(std::string_view name);

// An entry of a workspace's method menu ("解线性方程组", "解方程"), in the order the menu shows it.
struct MethodMenuEntry {
    enum class Kind { Command, Separator, Heading };
    Kind kind;
    std::string_view name;     // the command's name, or the separator's or heading's own name
    std::string_view caption;  // the command's menu caption, or the heading's; "" for a separator
    std::string_view submenu;  // the caption of the submenu that holds the entry; "" for the menu itself
};

// The method menu of the linear or the nonlinear workspace.
std::span<const MethodMenuEntry> MethodMenu(Workspace workspace);

}  // namespace koravin
