#include "examples/examples.h"

#include <fstream>
#include <iterator>

#include "numbers/text_utilities.h"
#include "registry/registry.h"

namespace koravin {
namespace {

constexpr std::string_view kEditorKey = "editor:";
constexpr std::string_view kFieldKey = "field ";

// The lines of a text whose line ends may be LF or CR LF.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

bool SetValue(Example& example, std::string_view key, std::string value) {
    if (key == "command") example.command = std::move(value);
    else if (key == "shows") example.shows = std::move(value);
    else if (key == "hint") example.hint = std::move(value);
    else if (key == "exact") example.exactSolution = std::move(value);
    else if (key == "reply") example.replies.push_back(std::move(value));
    else if (key == "answer" && (value == "是" || value == "否")) example.answers.push_back(value == "是");
    else if (key.starts_with(kFieldKey)) example.fields[std::string(key.substr(kFieldKey.size()))] = std::move(value);
    else return false;
    return true;
}

}  // namespace

std::optional<Example> ParseExample(std::string_view name, std::string_view text, std::string* error) {
    const auto fail = [&](std::string reason) -> std::optional<Example> {
        if (error != nullptr) *error = std::string(name) + ": " + reason;
        return std::nullopt;
    };
    Example example;
    example.name = name;
    const std::vector<std::string_view> lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line == kEditorKey) {
            for (std::size_t j = i + 1; j < lines.size(); ++j) {
                if (j > i + 1) example.editorText += kLineEnd;
                example.editorText += lines[j];
            }
            break;
        }
        const std::size_t colon = line.find(": ");
        if (colon == std::string_view::npos ||
            !SetValue(example, line.substr(0, colon), std::string(line.substr(colon + 2)))) {
            return fail("line " + std::to_string(i + 1) + " is not \"key: value\" of a known key");
        }
    }
    if (FindCommand(example.command) == nullptr) return fail("no command named \"" + example.command + "\"");
    if (example.shows.empty()) return fail("no \"shows:\" line");
    return example;
}

std::vector<std::string> ParseExampleIndex(std::string_view text) {
    std::vector<std::string> names;
    for (const std::string_view line : Lines(text)) {
        const std::string_view name = TrimBlanks(line.substr(0, line.find('#')));
        if (!name.empty()) names.emplace_back(name);
    }
    return names;
}

std::vector<Example> LoadExamples(const std::function<std::optional<std::string>(const std::string&)>& readFile,
                                  std::vector<std::string>* errors) {
    std::vector<Example> examples;
    const std::optional<std::string> index = readFile("index.txt");
    if (!index) {
        if (errors != nullptr) errors->push_back("index.txt cannot be read");
        return examples;
    }
    for (const std::string& name : ParseExampleIndex(*index)) {
        const std::optional<std::string> text = readFile(name + ".txt");
        std::string error = name + ".txt cannot be read";
        std::optional<Example> example = text ? ParseExample(name, *text, &error) : std::nullopt;
        if (example) examples.push_back(std::move(*example));
        else if (errors != nullptr) errors->push_back(std::move(error));
    }
    return examples;
}

std::vector<Example> LoadExampleFolder(const std::string& folder, std::vector<std::string>* errors) {
    return LoadExamples(
        [&folder](const std::string& name) -> std::optional<std::string> {
            std::ifstream file(folder + "/" + name, std::ios::binary);
            if (!file) return std::nullopt;
            return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        },
        errors);
}

std::string ExampleTitle(const Example& example) {
    const CommandInfo* command = FindCommand(example.command);
    const std::string_view caption = command != nullptr ? command->caption : std::string_view(example.command);
    return std::string(caption) + "：" + example.shows;
}

}  // namespace koravin
