// The differential-equation windows on the largest grid they accept (32767 divisions): the whole
// command, from the fields to the finished table, as a person pressing the compute button gets it.

#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "command/scripted_interaction.h"
#include "ode/ode_commands.h"

namespace {

using namespace koravin;

// y' = y - x^2 + 1 on [0, 2], y(0) = 0.5, the usual classroom problem; starting values for the
// multistep window are its exact solution (x + 1)^2 - e^x / 2.
void RunWindow(benchmark::State& state, void (*command)(CommandContext&), std::vector<std::string> replies,
               long long evaluations) {
    const std::map<std::string, std::string> fields = {
        {"Text1", "y-x^2+1"}, {"Text2", "0"}, {"Text3", "2"}, {"Text4", "32767"}};
    std::size_t tableBytes = 0;
    for (auto _ : state) {
        ScriptedInteraction user(replies, {});
        StringPane pane;
        CommandContext context{{}, pane, user, 6, fields, {}};
        command(context);
        tableBytes = pane.text().size();
        benchmark::DoNotOptimize(pane.text().data());
    }
    state.counters["evaluations"] = static_cast<double>(evaluations);
    state.counters["table_bytes"] = static_cast<double>(tableBytes);
}

void BM_RungeKutta(benchmark::State& state) { RunWindow(state, UsDi_RungeKutta, {"0.5"}, 7LL * 32767); }
void BM_Euler(benchmark::State& state) { RunWindow(state, UsDi_Euler, {"0.5"}, 3LL * 32767); }
void BM_Adams(benchmark::State& state) {
    RunWindow(state, UsDi_Adams, {"0.5", "0.500091558323", "0.500183122233", "0.500274691732"}, 9LL * (32767 - 3));
}

BENCHMARK(BM_RungeKutta)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Euler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Adams)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
