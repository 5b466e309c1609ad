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

std::span<const MethodMenuEntry> MethodMenu(Workspace workspace) {
    using Kind = MethodMenuEntry::Kind;
    const auto entry = [](std::string_view name, std::string_view submenu = {}) {
        return MethodMenuEntry{Kind::Command, name, FindCommand(name)->caption, submenu};
    };
    const auto separator = [](std::string_view name) { return MethodMenuEntry{Kind::Separator, name, {}, {}}; };
    constexpr std::string_view kConvergence = "迭代法的收敛性";
    static const std::vector<MethodMenuEntry> linear = {
        entry("Gauss_1"), entry("GaussTier"), entry("GaussFull"), separator("Gauss__"),
        // The heading of the pivoting applications below it carries no command.
        {Kind::Heading, "GaussApply", "列主元消去法应用", {}}, entry("A_matrix"), entry("A_range"),
        entry("MatrixBreak"), separator("ctx__"), entry("LU_break"), entry("SqrtRoot"), entry("MendSqrt"),
        entry("Purase"), entry("TierLU"), separator("ctx___"), entry("JacobiDie"), entry("Gauss_SeidelDie"),
        entry("SorDie"), entry("CMatrixJudge", kConvergence), entry("VectorModel", kConvergence),
        entry("MatrixModel", kConvergence), entry("StrictMatrixJudge", kConvergence)};
    static const std::vector<MethodMenuEntry> nonlinear = {
        entry("CalculateDichotomy"), entry("CalculateIterative"), entry("IterativeSpeedUp"),
        entry("CalculateAitken"),    entry("CalculateNewton"),    entry("CalculateXianJie")};
    switch (workspace) {
        case Workspace::Linear: return linear;
        case Workspace::Nonlinear: return nonlinear;
        case Workspace::DifferentialEquation: break;
    }
    return {};
}

}  // namespace koravin
