// The nonlinear-equation commands where they work hardest: each runs to its iteration limit, the
// whole command from the prompts to the finished report, as a person choosing the menu item gets it.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "command/scripted_interaction.h"
#include "nonlinear/nonlinear_commands.h"

namespace {

using namespace koravin;

void RunCommand(benchmark::State& state, void (*command)(CommandContext&), const std::string& function,
                const std::vector<std::string>& replies) {
    std::size_t reportBytes = 0;
    std::size_t events = 0;
    for (auto _ : state) {
        ScriptedInteraction user(replies, {});
        StringPane pane;
        CommandContext context{function, pane, user, 6, {}, {}};
        command(context);
        reportBytes = pane.text().size();
        events = user.events().size();
        benchmark::DoNotOptimize(pane.text().data());
    }
    state.counters["report_bytes"] = static_cast<double>(reportBytes);
    state.counters["events"] = static_cast<double>(events);
}

// 101 cycles of three evaluations: for 1/x the secant steps grow like the Fibonacci numbers and the
// value never reaches a tolerance of 0; the second term adds the work of an ordinary classroom
// function without changing the value.
void BM_SecantToItsLimit(benchmark::State& state) {
    RunCommand(state, CalculateXianJie, "1/x+0*(sin(x)^2+cos(x)*exp(-x^2)-log(abs(x)+1))",
               {"1", "2", "0", "0.0001"});
}

// sin(x) + 2 has no root: 100 steps of three evaluations, then the failure message.
void BM_NewtonToItsLimit(benchmark::State& state) {
    RunCommand(state, CalculateNewton, "sin(x)+2+0*(x^3-2*x-5)", {"cos(x)", "1", "0.0001"});
}

// An interval that cannot shrink below a tolerance of 0: 101 halvings of two evaluations each.
void BM_BisectionToItsLimit(benchmark::State& state) {
    RunCommand(state, CalculateDichotomy, "x^3-2*x-5+0*(sin(x)^2+cos(x)*exp(-x^2))", {"2", "3", "0"});
}

BENCHMARK(BM_SecantToItsLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NewtonToItsLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BisectionToItsLimit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
