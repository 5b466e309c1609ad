#include "cli/usage.h"

#include <array>

namespace koravin {
namespace {

struct Verb {
    std::string_view name;
    std::string_view text;
};

constexpr std::string_view kHead =
    "usage: koravin-cli VERB [OPTION]...\n"
    "Runs the methods of the Koravin windows without a screen: the same code writes the same report.\n";

constexpr std::array<Verb, 4> kVerbs = {{
    {"list",
     "koravin-cli list\n"
     "  every command, one a line: name, workspace, Chinese caption (tab-separated)\n"
     "  example: koravin-cli list | grep Ultra\n"},
    {"eval",
     "koravin-cli eval EXPR [OPTION]...\n"
     "  evaluates EXPR as the nonlinear and differential-equation commands do; EXPR may begin with \"-\"\n"
     "  --x V              the value of x (default 0), read as a typed reply (1e999 is Inf)\n"
     "  --y V              the value of y: EXPR is then a function of x and y\n"
     "  --exact            the shortest decimal that reads back to the same double\n"
     "  example: koravin-cli eval 'x^3-2*x-5' --x 2\n"},
    {"run",
     "koravin-cli run COMMAND [OPTION]...\n"
     "  runs COMMAND (see list) and prints its report on standard output (UTF-8, CR LF)\n"
     "  --editor FILE|-    the editor pane's text, from FILE or standard input (UTF-8 or GB18030)\n"
     "  --result FILE      what the result pane held before (default empty)\n"
     "  --reply TEXT       answers the next input prompt; repeat it; then prompts are cancelled\n"
     "  --yes, --no        answers the next yes-or-no question; repeat it; then yes\n"
     "  --digits N         the linear workspace's decimal places, 1 to 16 (default 6)\n"
     "  --field NAME=TEXT  a field of the differential-equation windows (Text1 to Text4, Exact)\n"
     "  --trace            each dialog on standard error as it happens, one line, tab-separated\n"
     "  --check            the checks after the report, as the windows' 附加检验\n"
     "  --check-json FILE  the checks as one JSON object into FILE\n"
     "  example: koravin-cli run Gauss_1 --editor system.txt --reply 3\n"},
    {"help",
     "koravin-cli help [VERB] | --help | -h | --version\n"
     "  this text, or the part of one verb, on standard output; --version the version\n"
     "  example: koravin-cli help run\n"},
}};

constexpr std::string_view kTail =
    "Exit status: 0 when the command ran, 1 when eval cannot evaluate EXPR, 2 for a wrong call.\n"
    "More in man koravin-cli.\n";

}  // namespace

std::string Usage() {
    std::string usage(kHead);
    for (const Verb& verb : kVerbs) usage += "\n" + std::string(verb.text);
    return usage + "\n" + std::string(kTail);
}

std::optional<std::string> VerbUsage(std::string_view verb) {
    for (const Verb& candidate : kVerbs) {
        if (candidate.name == verb) return "usage: " + std::string(candidate.text);
    }
    return std::nullopt;
}

}  // namespace koravin
