#include "web/json_text.h"

#include <cmath>

#include "numbers/decimal_text.h"
#include "numbers/text_utilities.h"

namespace koravin {

void AppendJsonNumber(std::string& json, double value) {
    if (std::isfinite(value)) AppendShortest(json, value);
    else json += "null";
}

void AppendJsonNumbers(std::string& json, std::span<const double> values) {
    json += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) json += ',';
        AppendJsonNumber(json, values[i]);
    }
    json += ']';
}

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) json_ += ',';
    first_ = false;
}

JsonWriter& JsonWriter::open(char bracket) {
    separate();
    json_ += bracket;
    first_ = true;
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    json_ += bracket;
    first_ = false;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    AppendJsonString(json_, name);
    json_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::text(std::string_view value) {
    separate();
    AppendJsonString(json_, value);
    return *this;
}

JsonWriter& JsonWriter::number(double value) {
    separate();
    AppendJsonNumber(json_, value);
    return *this;
}

JsonWriter& JsonWriter::number(std::optional<double> value) { return value ? number(*value) : null(); }

JsonWriter& JsonWriter::numbers(std::span<const double> values) {
    separate();
    AppendJsonNumbers(json_, values);
    return *this;
}

JsonWriter& JsonWriter::flag(bool value) {
    separate();
    json_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    json_ += "null";
    return *this;
}

JsonWriter& JsonWriter::raw(std::string_view json) {
    separate();
    json_ += json;
    return *this;
}

}  // namespace koravin
