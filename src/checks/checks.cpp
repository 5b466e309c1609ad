#include "checks/checks.h"

#include <algorithm>
#include <new>
#include <span>

#include "checks/check_families.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

enum class Family { None, DirectSolver, Inverse, Determinant, Iterative, Nonlinear, DifferentialEquation };

Family FamilyOf(const CommandInfo& command) {
    constexpr std::string_view kDirectSolvers[] = {"Gauss_1", "GaussTier", "GaussFull", "LU_break",
                                                   "TierLU",  "SqrtRoot",  "MendSqrt",  "Purase"};
    constexpr std::string_view kIterative[] = {"JacobiDie", "Gauss_SeidelDie", "SorDie"};
    const std::string_view name = command.name;
    if (std::find(std::begin(kDirectSolvers), std::end(kDirectSolvers), name) != std::end(kDirectSolvers)) return Family::DirectSolver;
    if (std::find(std::begin(kIterative), std::end(kIterative), name) != std::end(kIterative)) return Family::Iterative;
    if (name == "A_matrix") return Family::Inverse;
    if (name == "A_range") return Family::Determinant;
    if (command.workspace == Workspace::Nonlinear) return Family::Nonlinear;
    if (command.workspace == Workspace::DifferentialEquation) return Family::DifferentialEquation;
    return Family::None;
}

// The keys of each family, all null when the run gave nothing to check (the nonlinear
// methods add theirs by method).
std::span<const std::string_view> KeysOf(Family family) {
    static constexpr std::string_view kDirect[] = {"residual_inf", "relative_residual", "condition_inf", "trusted_digits"};
    static constexpr std::string_view kInverse[] = {"inverse_residual_inf", "condition_inf", "trusted_digits"};
    static constexpr std::string_view kDeterminant[] = {"determinant_double"};
    static constexpr std::string_view kIterative[] = {"spectral_radius",      "sweeps",      "predicted_sweeps",
                                                      "eigenvalue_condition", "last_change", "error_estimate",
                                                      "residual_inf"};
    switch (family) {
        case Family::DirectSolver: return kDirect;
        case Family::Inverse: return kInverse;
        case Family::Determinant: return kDeterminant;
        case Family::Iterative: return kIterative;
        case Family::None:
        case Family::Nonlinear:
        case Family::DifferentialEquation: break;
    }
    return {};
}

// Whether the run left what its family's checks need.
bool HasAnswer(Family family, const RunFacts& facts) {
    switch (family) {
        case Family::DirectSolver: return facts.order > 0 && facts.solution.size() == static_cast<std::size_t>(facts.order);
        case Family::Inverse:
            return facts.order > 0 &&
                   facts.inverse.size() == static_cast<std::size_t>(facts.order) * static_cast<std::size_t>(facts.order);
        case Family::Determinant: return facts.order > 0 && facts.determinant.has_value();
        case Family::Iterative: return !facts.iterativeMethod.empty() && facts.order > 0;
        case Family::Nonlinear: return !facts.iterates.empty();
        case Family::DifferentialEquation: return facts.equation.has_value() && !facts.first.empty();
        case Family::None: break;
    }
    return false;
}

std::string_view FieldOrEmpty(const CommandContext& context, const std::string& name) {
    const auto found = context.fields.find(name);
    return found == context.fields.end() ? std::string_view() : TrimBlanks(found->second);
}

// Passes everything on and notes whether anything was written, and how the text ends.
class WatchedPane : public Pane {
public:
    explicit WatchedPane(Pane& pane) : pane_(pane) {}
    void clear() override {
        pane_.clear();
        cleared_ = true;
        wrote_ = false;
        tail_.clear();
    }
    void append(std::string_view text) override {
        pane_.append(text);
        if (text.empty()) return;
        wrote_ = true;
        tail_ += text.substr(text.size() - std::min<std::size_t>(text.size(), 4));
        tail_.erase(0, tail_.size() - std::min<std::size_t>(tail_.size(), 4));
    }
    // Whether the pane ends with text of this run.
    bool wrote() const { return wrote_; }
    // Whether this run emptied the pane (and wrote nothing after).
    bool emptied() const { return cleared_ && !wrote_; }
    // Line ends that bring the text to exactly one empty line after its last line; none at the
    // top of an emptied pane.
    std::string_view lineEndsToBlankLine() const {
        if (emptied() || tail_.ends_with("\r\n\r\n")) return "";
        if (tail_.ends_with("\r\n")) return kLineEnd;
        return "\r\n\r\n";
    }

private:
    Pane& pane_;
    bool cleared_ = false;
    bool wrote_ = false;
    std::string tail_;
};

class WatchedInteraction : public Interaction {
public:
    WatchedInteraction(Interaction& user, RunFacts& facts) : user_(user), facts_(facts) {}
    std::string ask(const Prompt& prompt) override { return user_.ask(prompt); }
    void tell(std::string_view message) override {
        facts_.toldMessage = true;
        user_.tell(message);
    }
    bool confirm(std::string_view question, std::string_view title) override { return user_.confirm(question, title); }

private:
    Interaction& user_;
    RunFacts& facts_;
};

// A run of Jacobi, Gauss-Seidel or relaxation that gave up: its iteration matrix says why.
bool ChecksExplainTheMessage(Family family, const RunFacts& facts) {
    return family == Family::Iterative && HasAnswer(family, facts);
}

// Every key of the family null but the constants, and one line that says why.
CheckResults Unchecked(CheckResults results, Family family, std::string_view reason) {
    for (const std::string_view key : KeysOf(family)) results.add(key, std::nullopt);
    if (family == Family::Nonlinear) AddNonlinearKeys(results.command, results);
    if (family == Family::DifferentialEquation) results.columns.emplace();
    results.lines.emplace_back(reason);
    return results;
}

}  // namespace

CheckResults ComputeChecks(const CommandInfo& command, const RunFacts& facts, const CommandContext& context) {
    CheckResults results;
    results.command = std::string(command.name);
    const Family family = FamilyOf(command);
    results.hasChecks = family != Family::None;
    if (!results.hasChecks) return results;
    if ((facts.toldMessage && !ChecksExplainTheMessage(family, facts)) || !HasAnswer(family, facts)) {
        return Unchecked(std::move(results), family,
                         facts.toldMessage ? "运行以提示信息结束，无法检验。" : "运行没有给出可检验的结果。");
    }
    try {
        switch (family) {
            case Family::DirectSolver: AddDirectSolverChecks(facts, context.decimalDigits, results); break;
            case Family::Inverse: AddInverseChecks(facts, context.decimalDigits, results); break;
            case Family::Determinant: AddDeterminantChecks(facts, results); break;
            case Family::Iterative: AddIterativeChecks(facts, results); break;
            case Family::Nonlinear:
                AddNonlinearChecks(command.name, facts, TrimBlanks(context.editorText), results);
                break;
            case Family::DifferentialEquation:
                AddOdeChecks(command.name, facts, FieldOrEmpty(context, "Exact"), results);
                break;
            case Family::None: break;
        }
    } catch (const std::bad_alloc&) {
        // The command itself fitted; the checks' copies of its arrays did not. The report stands.
        results.values.clear();
        results.lines.clear();
        return Unchecked(std::move(results), family, "内存不足，无法检验。");
    }
    return results;
}

CheckResults RunWithChecks(const CommandInfo& command, CommandContext& context, CheckBlock block) {
    RunFacts facts;
    WatchedPane pane(context.result);
    WatchedInteraction user(context.user, facts);
    CommandContext watched{context.editorText, pane, user, context.decimalDigits, context.fields, {}, context.picture, &facts};
    command.run(watched);
    context.focusField = watched.focusField;
    CheckResults results = ComputeChecks(command, facts, watched);
    const bool explained = pane.emptied() && facts.toldMessage && ChecksExplainTheMessage(FamilyOf(command), facts);
    if (block == CheckBlock::Append && results.hasChecks && (pane.wrote() || explained)) {
        std::string text(pane.lineEndsToBlankLine());
        text += kCheckHeading;
        text += kLineEnd;
        text += CheckBlockText(results);
        context.result.append(text);
    }
    return results;
}

}  // namespace koravin
