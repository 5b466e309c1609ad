#include "linear/order_prompt.h"

#include "linear/linear_input.h"

namespace koravin {

std::optional<int> AskOrder(Interaction& user, const Prompt& prompt, int matrices) {
    const int n = OrderFromReply(user.ask(prompt));
    if (n <= 0 || !OrderFitsInMemory(user, n, matrices)) return std::nullopt;
    return n;
}

}  // namespace koravin
