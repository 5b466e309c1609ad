// koravin-cli: the commands of the windows, run headlessly with scripted answers.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "cli/usage.h"
#include "command/document_text.h"
#include "command/scripted_interaction.h"
#include "expr/expression.h"
#include "expr/prepare_expression.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "ode/ode_input.h"
#include "registry/registry.h"

namespace koravin {
namespace {

constexpr std::size_t kLongestExpression = 32767;

// A call that cannot run: one line says why; a call of the wrong shape is followed by the usage of
// its verb ("" for the whole usage), a wrong value or file is not.
struct UsageError {
    std::string message;
    std::optional<std::string_view> usageOf = std::nullopt;
};

// Options come as "--name value" or "--name=value"; a value may itself begin with "-".
class Arguments {
public:
    Arguments(std::string_view verb, int argc, char** argv, int first) : verb_(verb), arguments_(argv + first, argv + argc) {}

    bool done() const { return position_ >= arguments_.size(); }

    // The next option's name (without "--"), with its inline value if it had one.
    std::string nextOption() {
        std::string argument = arguments_[position_++];
        if (!argument.starts_with("--")) throw UsageError{"unexpected argument: " + argument, verb_};
        argument.erase(0, 2);
        inlineValue_.reset();
        if (const auto equals = argument.find('='); equals != std::string::npos) {
            inlineValue_ = argument.substr(equals + 1);
            argument.resize(equals);
        }
        return argument;
    }

    std::string value(const std::string& option) {
        if (inlineValue_) return *std::exchange(inlineValue_, std::nullopt);
        if (done()) throw UsageError{"--" + option + " needs a value", verb_};
        return arguments_[position_++];
    }

    void noValue(const std::string& option) const {
        if (inlineValue_) throw UsageError{"--" + option + " takes no value", verb_};
    }

    UsageError unknown(const std::string& option) const {
        return {"unknown option for " + std::string(verb_) + ": --" + option, verb_};
    }

private:
    std::string_view verb_;
    std::vector<std::string> arguments_;
    std::size_t position_ = 0;
    std::optional<std::string> inlineValue_;
};

std::string ReadDocument(const std::string& path) {
    std::string bytes;
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) throw UsageError{"cannot read " + path};
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return DecodeDocument(bytes);
}

// help, help VERB, --help and -h: the usage on standard output.
int Help(int argc, char** argv) {
    if (argc > 3) throw UsageError{"help takes one verb at most", "help"};
    if (argc < 3) {
        std::cout << Usage();
        return 0;
    }
    const std::optional<std::string> usage = VerbUsage(argv[2]);
    if (!usage) throw UsageError{std::string("no such verb: ") + argv[2], ""};
    std::cout << *usage;
    return 0;
}

int List() {
    for (const CommandInfo& command : AllCommands()) {
        std::cout << command.name << '\t' << WorkspaceName(command.workspace) << '\t' << command.caption << '\n';
    }
    return 0;
}

int Eval(int argc, char** argv) {
    if (argc < 3) throw UsageError{"eval needs an expression", "eval"};
    std::string text = argv[2];
    double x = 0;
    std::optional<double> y;
    bool exact = false;
    Arguments arguments("eval", argc, argv, 3);
    while (!arguments.done()) {
        const std::string option = arguments.nextOption();
        if (option == "x") {
            x = ReadLeadingNumber(arguments.value(option));
        } else if (option == "y") {
            y = ReadLeadingNumber(arguments.value(option));
        } else if (option == "exact") {
            arguments.noValue(option);
            exact = true;
        } else {
            throw arguments.unknown(option);
        }
    }
    if (CodePointCount(text) > kLongestExpression) {
        std::cerr << "表达式太长：最多 " << kLongestExpression << " 个字符。\n";
        return 1;
    }
    PrepareExpression(text);
    double value;
    if (y) {
        value = CompiledExpression::ForXY(text, 'y').InsertValueXY(x, *y);
    } else {
        int stepCount = 0;
        value = CompiledExpression::ForX(text).InsertValue(x, stepCount);
        if (stepCount > kSingleVariablePassLimit) {
            std::cerr << "函数表达式输入有误！\n";
            return 1;
        }
    }
    std::cout << (exact ? ExactText(value) : NumberText(value)) << '\n';
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 3) throw UsageError{"run needs a command name", "run"};
    const CommandInfo* command = FindCommand(argv[2]);
    if (command == nullptr) throw UsageError{std::string("unknown command: ") + argv[2] + " (see koravin-cli list)"};
    std::string editor;
    std::string previousReport;
    std::vector<std::string> replies;
    std::vector<bool> answers;
    int digits = 6;
    std::map<std::string, std::string> fields;
    bool trace = false;
    bool check = false;
    std::optional<std::string> checkJsonPath;
    Arguments arguments("run", argc, argv, 3);
    while (!arguments.done()) {
        const std::string option = arguments.nextOption();
        if (option == "editor") {
            editor = ReadDocument(arguments.value(option));
        } else if (option == "result") {
            previousReport = ReadDocument(arguments.value(option));
        } else if (option == "reply") {
            replies.push_back(arguments.value(option));
        } else if (option == "yes" || option == "no") {
            arguments.noValue(option);
            answers.push_back(option == "yes");
        } else if (option == "digits") {
            const std::string value = arguments.value(option);
            const auto number = ParseDecimal(value);
            if (!number || *number != static_cast<int>(*number) || *number < 1 || *number > 16) {
                throw UsageError{"--digits takes a whole number from 1 to 16, not " + value};
            }
            digits = static_cast<int>(*number);
        } else if (option == "field") {
            const std::string value = arguments.value(option);
            const auto equals = value.find('=');
            if (equals == std::string::npos || equals == 0) throw UsageError{"--field takes NAME=TEXT, not " + value};
            const std::string name = value.substr(0, equals);
            // Text4 of the differential-equation windows corrects itself as it is typed.
            fields[name] = name == "Text4" ? DivisionCountText(value.substr(equals + 1)) : value.substr(equals + 1);
        } else if (option == "trace") {
            arguments.noValue(option);
            trace = true;
        } else if (option == "check") {
            arguments.noValue(option);
            check = true;
        } else if (option == "check-json") {
            checkJsonPath = arguments.value(option);
        } else {
            throw arguments.unknown(option);
        }
    }
    ScriptedInteraction user(std::move(replies), std::move(answers));
    if (trace) {
        user.onEvent([](const InteractionEvent& event) { std::cerr << TraceLine(event) << '\n' << std::flush; });
    }
    StringPane pane(std::move(previousReport));
    CommandContext context{std::move(editor), pane, user, digits, std::move(fields), {}};
    if (check || checkJsonPath) {
        // Opened before the run, so that a path that cannot be written ends nothing half done.
        std::ofstream json;
        if (checkJsonPath) {
            json.open(*checkJsonPath, std::ios::binary);
            if (!json) throw UsageError{"cannot write " + *checkJsonPath};
        }
        const CheckResults results = RunWithChecks(*command, context, check ? CheckBlock::Append : CheckBlock::Omit);
        if (checkJsonPath && !(json << CheckResultsJson(results) << '\n' << std::flush)) {
            throw UsageError{"cannot write " + *checkJsonPath};
        }
    } else {
        command->run(context);
    }
    std::cout.write(pane.text().data(), static_cast<std::streamsize>(pane.text().size()));
    std::cout.flush();
    return 0;
}

}  // namespace
}  // namespace koravin

int main(int argc, char** argv) {
    using namespace koravin;
    try {
        const std::string verb = argc > 1 ? argv[1] : "";
        if (verb == "list") {
            if (argc > 2) throw UsageError{"list takes no arguments", "list"};
            return List();
        }
        if (verb == "--version" || verb == "--help" || verb == "-h") {
            if (argc > 2) throw UsageError{verb + " takes no arguments", "help"};
            if (verb != "--version") return Help(argc, argv);
            std::cout << "koravin-cli " KORAVIN_VERSION "\n";
            return 0;
        }
        if (verb == "eval") return Eval(argc, argv);
        if (verb == "run") return Run(argc, argv);
        if (verb == "help") return Help(argc, argv);
        throw UsageError{verb.empty() ? "a verb is needed" : "unknown verb: " + verb, ""};
    } catch (const UsageError& error) {
        std::cerr << "koravin-cli: " << error.message << '\n';
        if (error.usageOf) std::cerr << '\n' << (error.usageOf->empty() ? Usage() : *VerbUsage(*error.usageOf));
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "koravin-cli: out of memory\n";
        return 1;
    }
}
