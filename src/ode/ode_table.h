#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "command/interaction.h"

namespace koravin {

// Each field of the table is right-aligned in this many characters.
inline constexpr std::size_t kOdeFieldWidth = 24;

struct OdeColumn {
    std::string_view heading;
    const std::vector<double>& values;  // indexed like the nodes
};

// The three-column table of a differential-equation window: x and the two methods' values,
// every field right-aligned in 24 characters, values unrounded.
std::string OdeTableText(const std::vector<double>& x, const OdeColumn& first, const OdeColumn& second);

// Replaces the result pane's text by the table, and hands the columns to the picture and the checks.
void WriteOdeTable(CommandContext& context, const std::vector<double>& x, const OdeColumn& first,
                   const OdeColumn& second);

}  // namespace koravin
