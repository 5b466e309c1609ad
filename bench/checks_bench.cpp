// What the checks add to a command: each command run as it is, beside the checks computed from
// what that run recorded. Gauss elimination and the inverse up to order 1000 (κ from the inverse up
// to 500, an estimate above), Jacobi with the eigenvalues of its iteration matrix, and fourth-order
// Runge-Kutta at the largest division count (the checks run it again at 2n and 4n).

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "command/run_facts.h"
#include "command/scripted_interaction.h"
#include "registry/registry.h"

namespace {

using namespace koravin;

struct Script {
    std::string editor;
    std::vector<std::string> replies;
    std::map<std::string, std::string> fields;
};

// A diagonally dominant system with entries of three decimals in a fixed scatter, one row per line.
std::string SystemText(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) {
            const double scatter = ((i * 7919 + j * 104729) % 2001 - 1000) / 1000.0;
            text += std::to_string(scatter + (i == j ? 2.0 * n : 0.0)) + ' ';
        }
        text += "\r\n";
    }
    return text;
}

Script GaussScript(int n) { return {SystemText(n), {std::to_string(n)}, {}}; }

Script JacobiScript(int n) {
    std::vector<std::string> replies{"1e-5", std::to_string(n)};
    replies.resize(static_cast<std::size_t>(n) + 2, "0");
    return {SystemText(n), replies, {}};
}

Script RungeKuttaScript() {
    return {"", {"1"}, {{"Text1", "y-x^2+1"}, {"Text2", "0"}, {"Text3", "2"}, {"Text4", "32767"},
                        {"Exact", "(x+1)^2-exp(x)/2"}}};
}

void RunCommand(const CommandInfo& command, const Script& script, RunFacts* facts) {
    ScriptedInteraction user(script.replies, {});
    StringPane pane;
    CommandContext context{script.editor, pane, user, 6, script.fields, {}};
    context.facts = facts;
    command.run(context);
    benchmark::DoNotOptimize(pane.text().data());
}

void BM_Command(benchmark::State& state, const char* name, Script script) {
    const CommandInfo& command = *FindCommand(name);
    for (auto _ : state) RunCommand(command, script, nullptr);
}

void BM_ChecksOfTheCommand(benchmark::State& state, const char* name, Script script) {
    const CommandInfo& command = *FindCommand(name);
    RunFacts facts;
    RunCommand(command, script, &facts);
    StringPane pane;
    ScriptedInteraction user({}, {});
    const CommandContext context{script.editor, pane, user, 6, script.fields, {}};
    for (auto _ : state) {
        const CheckResults results = ComputeChecks(command, facts, context);
        benchmark::DoNotOptimize(results.lines.data());
    }
}

BENCHMARK_CAPTURE(BM_Command, Gauss_1_300, "Gauss_1", GaussScript(300))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, Gauss_1_300, "Gauss_1", GaussScript(300))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, Gauss_1_500, "Gauss_1", GaussScript(500))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, Gauss_1_1000, "Gauss_1", GaussScript(1000))->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, Gauss_1_1000, "Gauss_1", GaussScript(1000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, A_matrix_1000, "A_matrix", GaussScript(1000))->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, A_matrix_1000, "A_matrix", GaussScript(1000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, JacobiDie_300, "JacobiDie", JacobiScript(300))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, JacobiDie_300, "JacobiDie", JacobiScript(300))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, JacobiDie_500, "JacobiDie", JacobiScript(500))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, UsDi_RungeKutta_32767, "UsDi_RungeKutta", RungeKuttaScript())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ChecksOfTheCommand, UsDi_RungeKutta_32767, "UsDi_RungeKutta", RungeKuttaScript())
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
