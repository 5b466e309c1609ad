#include "ode/ode_table.h"

#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {


// Widths count characters: a Chinese heading of 8 characters gets 16 spaces.
void AppendField(std::string& table, std::string_view text) {
    const std::size_t length = CodePointCount(text);
    if (length < kOdeFieldWidth) table.append(kOdeFieldWidth - length, ' ');
    table += text;
}

}  // namespace

std::string OdeTableText(const std::vector<double>& x, const OdeColumn& first, const OdeColumn& second) {
    std::string table;
    table.reserve((x.size() + 1) * (3 * kOdeFieldWidth + kLineEnd.size()) + 32);
    AppendField(table, "X(n)");
    AppendField(table, first.heading);
    AppendField(table, second.heading);
    table += kLineEnd;
    for (std::size_t i = 0; i < x.size(); ++i) {
        BetweenSteps();
        AppendField(table, NumberText(x[i]));
        AppendField(table, NumberText(first.values[i]));
        AppendField(table, NumberText(second.values[i]));
        table += kLineEnd;
    }
    return table;
}

void WriteOdeTable(CommandContext& context, const std::vector<double>& x, const OdeColumn& first,
                   const OdeColumn& second) {
    const std::string table = OdeTableText(x, first, second);
    context.result.clear();
    context.result.append(table);
    context.columns(x, first.heading, first.values, second.heading, second.values);
}

}  // namespace koravin
