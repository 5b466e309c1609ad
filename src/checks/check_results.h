#pragma once

// What the checks found: the block's lines, the values by their keys, and the two ways they are
// written out (the block's text and the JSON object).

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace koravin {

inline constexpr std::string_view kCheckHeading = "—— 检验 ——";

// One column of a differential-equation table.
struct ColumnCheck {
    std::string heading;
    std::optional<double> observedOrder;
    double theoreticalOrder = 0;
    std::optional<double> finalError;
    std::optional<double> maxError;
};

struct CheckResults {
    std::string command;
    bool hasChecks = false;          // whether the command has any checks
    std::vector<std::string> lines{};  // the block as a person reads it, one line each
    // The numbers by their keys, in the order computed; nothing where a value cannot be computed.
    std::vector<std::pair<std::string, std::optional<double>>> values{};
    std::optional<std::vector<ColumnCheck>> columns{};  // the differential-equation windows

    void add(std::string_view key, std::optional<double> value);
    // The value of `key`; nullptr when the command has no such check.
    const std::optional<double>* find(std::string_view key) const;
};

// A value the checks can report: nothing stands for "cannot be computed".
inline std::optional<double> FiniteOrNothing(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// The value under its key, and the line "label = value note", or "label：无法计算。"
void AddValueLine(CheckResults& results, std::string_view key, std::string_view label, std::optional<double> value,
                  std::string_view note = {});

// The block's lines joined by CR LF, without a line end after the last.
std::string CheckBlockText(const CheckResults& results);

// The checks as one JSON object {"command": ..., "checks": {...}}; a value that cannot be
// computed is null.
std::string CheckResultsJson(const CheckResults& results);

}  // namespace koravin
