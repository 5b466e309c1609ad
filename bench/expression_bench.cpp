// The expression engine: the compiled evaluator against the literal text-rewriting algorithm it
// must agree with, and against muparser as an outside yardstick.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "expr/expression.h"
#include "expr/prepare_expression.h"
#include "reference/literal_expression.h"

#ifdef KORAVIN_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

using koravin::CompiledExpression;

const char* const kTexts[] = {"x^3-2*x-5", "exp(-x)-sin(x)"};

std::string Prepared(const char* text) {
    std::string prepared = text;
    koravin::PrepareExpression(prepared);
    return prepared;
}

// x walks through [0.5, 2.5) so that no call repeats the one before.
double NextX(double& x) {
    x += 0.000123456789;
    if (x >= 2.5) x -= 2;
    return x;
}

void BM_Compiled(benchmark::State& state) {
    const CompiledExpression f = CompiledExpression::ForX(Prepared(kTexts[state.range(0)]));
    double x = 0.5;
    for (auto _ : state) {
        int passes = 0;
        benchmark::DoNotOptimize(f.InsertValue(NextX(x), passes));
    }
    state.SetLabel(kTexts[state.range(0)]);
}
BENCHMARK(BM_Compiled)->Arg(0)->Arg(1);

void BM_Literal(benchmark::State& state) {
    const std::string prepared = Prepared(kTexts[state.range(0)]);
    double x = 0.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(koravin::reference::LiteralInsertValue(prepared, NextX(x)));
    }
    state.SetLabel(kTexts[state.range(0)]);
}
BENCHMARK(BM_Literal)->Arg(0)->Arg(1);

void BM_CompiledTwoVariables(benchmark::State& state) {
    const CompiledExpression f = CompiledExpression::ForXY(Prepared("x*y-exp(-x)+y^2"), 'y');
    double x = 0.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.InsertValueXY(NextX(x), 1.25 + x));
    }
}
BENCHMARK(BM_CompiledTwoVariables);

#ifdef KORAVIN_HAVE_MUPARSER
void BM_Muparser(benchmark::State& state) {
    mu::Parser parser;
    double x = 0.5;
    parser.DefineVar("x", &x);
    parser.SetExpr(kTexts[state.range(0)]);
    for (auto _ : state) {
        NextX(x);
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetLabel(kTexts[state.range(0)]);
}
BENCHMARK(BM_Muparser)->Arg(0)->Arg(1);
#endif

}  // namespace

BENCHMARK_MAIN();
