#include "linear/check_facts.h"

#include <numeric>
#include <vector>

#include "numbers/number_conversions.h"

namespace koravin {

void RecordSystem(const CommandContext& context, const Matrix& augmented) {
    if (context.facts == nullptr) return;
    const auto entries = static_cast<std::size_t>(augmented.rows()) * static_cast<std::size_t>(augmented.cols());
    context.linearSystem(augmented.rows(), {augmented.row(1), entries});
}

void RecordSolvedSystem(const CommandContext& context, const Matrix& augmented, const Vector& x,
                        std::span<const int> unknowns, int places) {
    if (context.facts == nullptr) return;
    RecordSystem(context, augmented);
    std::vector<double> computed(static_cast<std::size_t>(x.size()));
    std::vector<double> rounded(computed.size());
    for (int i = 1; i <= x.size(); ++i) {
        const auto unknown = static_cast<std::size_t>(unknowns[static_cast<std::size_t>(i - 1)] - 1);
        computed[unknown] = x(i);
        rounded[unknown] = RoundDigits(x(i), places);
    }
    context.linearSolution(rounded, computed);
}

void RecordSolvedSystem(const CommandContext& context, const Matrix& augmented, const Vector& x, int places) {
    if (context.facts == nullptr) return;
    std::vector<int> typedOrder(static_cast<std::size_t>(x.size()));
    std::iota(typedOrder.begin(), typedOrder.end(), 1);
    RecordSolvedSystem(context, augmented, x, typedOrder, places);
}

}  // namespace koravin
