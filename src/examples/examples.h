#pragma once

// The worked examples a person can load with one click: one small text file each, listed in
// order by an index, read here so that the windows, koravin-cli and the tests share them.
//
// An example file holds "key: value" lines, then optionally "editor:" and the editor text:
//
//   command: Gauss_1              the command as the registry names it
//   shows: 3阶方程组              what the example shows; its title is "<caption>：<shows>"
//   hint: 阶数 n 输入 3           what to answer, for the status bar
//   field Text1: y-2*x/y          a field of a differential-equation window
//   exact: sqr(1+2*x)             the exact solution y(x), when one is known
//   reply: 3                      the answers to the prompts, in order
//   answer: 是                    the answers to the Yes/No questions (是 or 否), in order
//   editor:                       every line after this one is the editor text
//
// The index lists the example files' names without ".txt", one a line; "#" starts a comment.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace koravin {

struct Example {
    std::string name;  // the file's name without ".txt"
    std::string command;
    std::string shows;
    std::string hint;
    std::string editorText;  // CR LF line ends, as the editor pane holds it
    std::map<std::string, std::string> fields;
    std::string exactSolution;
    std::vector<std::string> replies;
    std::vector<bool> answers;
};

// The example a file holds, or the reason it cannot be read (`error`, when given, says which line).
std::optional<Example> ParseExample(std::string_view name, std::string_view text, std::string* error = nullptr);

// The names the index lists, in order.
std::vector<std::string> ParseExampleIndex(std::string_view text);

// Reads the index and every example it lists through `readFile` (given "index.txt",
// "gauss_order3.txt", ...; nothing when the file cannot be read). An example that cannot be read
// is left out and its reason added to `errors` when given.
std::vector<Example> LoadExamples(const std::function<std::optional<std::string>(const std::string&)>& readFile,
                                  std::vector<std::string>* errors = nullptr);

// The same, from the files of a folder.
std::vector<Example> LoadExampleFolder(const std::string& folder, std::vector<std::string>* errors = nullptr);

// "Gauss消去法：3阶方程组": the command's menu caption and what the example shows.
std::string ExampleTitle(const Example& example);

}  // namespace koravin
