#include "linear/linear_input.h"

#include "numbers/number_conversions.h"

namespace koravin {
namespace {

// A hand-typed system is small; this bound keeps a mistyped order (30000 for 3) from taking the
// machine's memory and the person's afternoon. It still allows orders in the thousands.
constexpr double kLargestArrayBytes = 256.0 * 1024 * 1024;

}  // namespace

int OrderFromReply(std::string_view reply) { return ToInteger16(ReadLeadingNumber(reply)).value_or(0); }

bool OrderFitsInMemory(Interaction& user, int n, int matrices) {
    const double bytes = static_cast<double>(matrices) * n * (n + 1.0) * sizeof(double);
    if (n <= kLargestAugmentedOrder && bytes <= kLargestArrayBytes) return true;
    user.tell(kOrderTooLargeMessage);
    return false;
}

std::optional<int> AskOrder(Interaction& user, const Prompt& prompt, int matrices) {
    const int n = OrderFromReply(user.ask(prompt));
    if (n <= 0 || !OrderFitsInMemory(user, n, matrices)) return std::nullopt;
    return n;
}

}  // namespace koravin
