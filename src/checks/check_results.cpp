#include "checks/check_results.h"

#include <algorithm>

#include "checks/check_text.h"
#include "numbers/text_utilities.h"

namespace koravin {

void CheckResults::add(std::string_view key, std::optional<double> value) {
    values.emplace_back(std::string(key), value);
}

void AddValueLine(CheckResults& results, std::string_view key, std::string_view label, std::optional<double> value,
                  std::string_view note) {
    results.add(key, value);
    results.lines.push_back(std::string(label) + (value ? " = " + ShortNumberText(*value) + std::string(note) : "：无法计算。"));
}

const std::optional<double>* CheckResults::find(std::string_view key) const {
    const auto found = std::find_if(values.begin(), values.end(), [key](const auto& entry) { return entry.first == key; });
    return found == values.end() ? nullptr : &found->second;
}

std::string CheckBlockText(const CheckResults& results) {
    std::string text;
    for (const std::string& line : results.lines) {
        if (!text.empty()) text += kLineEnd;
        text += line;
    }
    return text;
}

std::string CheckResultsJson(const CheckResults& results) {
    std::string json = "{\"command\": " + JsonString(results.command) + ", \"checks\": {";
    bool first = true;
    const auto separate = [&] {
        if (!first) json += ", ";
        first = false;
    };
    for (const auto& [key, value] : results.values) {
        separate();
        json += JsonString(key) + ": " + (value ? JsonNumber(*value) : "null");
    }
    if (results.columns) {
        separate();
        json += "\"columns\": [";
        for (std::size_t i = 0; i < results.columns->size(); ++i) {
            const ColumnCheck& column = (*results.columns)[i];
            const auto number = [](std::optional<double> value) { return value ? JsonNumber(*value) : "null"; };
            if (i > 0) json += ", ";
            json += "{\"heading\": " + JsonString(column.heading) + ", \"observed_order\": " + number(column.observedOrder) +
                    ", \"theoretical_order\": " + JsonNumber(column.theoreticalOrder) +
                    ", \"final_error\": " + number(column.finalError) + ", \"max_error\": " + number(column.maxError) + "}";
        }
        json += "]";
    }
    return json + "}}";
}

}  // namespace koravin
