#pragma once

// JSON text written straight into a string: the responses carry reports of many megabytes and
// tables of tens of thousands of numbers, which a general JSON library writes far more slowly.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace koravin {

// A number as the shortest text that reads back to it; null where it is not finite.
void AppendJsonNumber(std::string& json, double value);

// [x, y, ...] of the numbers.
void AppendJsonNumbers(std::string& json, std::span<const double> values);

// Writes an object's or a list's members with the commas between them.
class JsonWriter {
public:
    explicit JsonWriter(std::string& json) : json_(json) {}

    JsonWriter& beginObject() { return open('{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginList() { return open('['); }
    JsonWriter& endList() { return close(']'); }
    // The next member's key, inside an object.
    JsonWriter& key(std::string_view name);

    JsonWriter& text(std::string_view value);
    JsonWriter& number(double value);
    JsonWriter& number(std::optional<double> value);
    JsonWriter& numbers(std::span<const double> values);
    JsonWriter& flag(bool value);
    JsonWriter& null();
    // JSON text made elsewhere, as one value.
    JsonWriter& raw(std::string_view json);

private:
    JsonWriter& open(char bracket);
    JsonWriter& close(char bracket);
    void separate();

    std::string& json_;
    bool first_ = true;  // no value yet in the innermost object or list
    bool afterKey_ = false;
};

}  // namespace koravin
