#include "command/interaction.h"
#include "command/run_facts.h"

namespace koravin {

void CommandContext::mark(const IterateMark& step) const {
    if (picture != nullptr) picture->mark(step);
    if (facts == nullptr) return;
    facts->iterates.push_back(step.x);
    if (step.bracket) {
        if (!facts->firstBracket) facts->firstBracket = step.bracket;
        facts->lastBracket = step.bracket;
    }
}

void CommandContext::iterationFunction(std::string_view phi) const {
    if (picture != nullptr) picture->iterationFunction(phi);
    if (facts != nullptr) facts->iterationFunction = std::string(phi);
}

void CommandContext::sweeps(const SweepRun& run) const {
    if (picture != nullptr) picture->sweeps(run);
    if (facts == nullptr) return;
    linearSystem(run.order, run.system);
    facts->iterativeMethod = std::string(run.method);
    facts->relaxation = run.relaxation;
    facts->tolerance = run.tolerance;
    facts->sweeps = static_cast<int>(run.changes.size());
    facts->lastChange = run.changes.empty() ? 0.0 : run.changes.back();
    facts->converged = run.converged;
    facts->finalIterate.assign(run.iterate.begin(), run.iterate.end());
}

void CommandContext::columns(std::span<const double> x, std::string_view firstHeading, std::span<const double> first,
                             std::string_view secondHeading, std::span<const double> second) const {
    if (picture != nullptr) picture->columns(x, firstHeading, first, secondHeading, second);
    if (facts == nullptr) return;
    facts->nodes.assign(x.begin(), x.end());
    facts->firstHeading = std::string(firstHeading);
    facts->first.assign(first.begin(), first.end());
    facts->secondHeading = std::string(secondHeading);
    facts->second.assign(second.begin(), second.end());
}

void CommandContext::linearSystem(int n, std::span<const double> augmented) const {
    if (facts == nullptr) return;
    facts->order = n;
    facts->system.assign(augmented.begin(), augmented.end());
}

void CommandContext::linearSolution(std::span<const double> rounded, std::span<const double> computed) const {
    if (facts == nullptr) return;
    facts->solution.assign(rounded.begin(), rounded.end());
    facts->methodSolution.assign(computed.begin(), computed.end());
}

void CommandContext::linearInverse(std::span<const double> rounded, std::span<const double> computed) const {
    if (facts == nullptr) return;
    facts->inverse.assign(rounded.begin(), rounded.end());
    facts->methodInverse.assign(computed.begin(), computed.end());
}

void CommandContext::linearDeterminant(double reported) const {
    if (facts != nullptr) facts->determinant = reported;
}

void CommandContext::differentialEquation(std::string_view function, double a, double b, int divisions) const {
    if (facts != nullptr) facts->equation = RunFacts::Equation{std::string(function), a, b, divisions};
}

}  // namespace koravin
