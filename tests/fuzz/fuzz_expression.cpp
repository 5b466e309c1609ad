// Any text through PrepareExpression and both evaluation forms; short texts are also checked
// against the literal evaluator, pass count and value bits.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "expr/expression.h"
#include "expr/prepare_expression.h"
#include "reference/literal_expression.h"

namespace {

constexpr double kValues[] = {0, 1, -2.5, 1e-300, 1.7976931348623157e308, -1e15,
                              std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};

bool SameBits(double a, double b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace koravin;
    std::string text(reinterpret_cast<const char*>(data), size);
    PrepareExpression(text);
    const CompiledExpression single = CompiledExpression::ForX(text);
    const CompiledExpression pair = CompiledExpression::ForXY(text, 'y');
    for (const double x : kValues) {
        int passes = 0;
        const double value = single.InsertValue(x, passes);
        if (passes < 1 || passes > kSingleVariablePassLimit + 1) __builtin_trap();
        const double valueXY = pair.InsertValueXY(x, -x);
        if (text.size() <= 300) {
            const Evaluation expected = reference::LiteralInsertValue(text, x);
            if (passes != expected.passes) __builtin_trap();
            if (passes <= kSingleVariablePassLimit && !SameBits(value, expected.value)) __builtin_trap();
            if (!SameBits(valueXY, reference::LiteralInsertValueXY(text, x, "y", -x))) __builtin_trap();
        }
    }
    return 0;
}
