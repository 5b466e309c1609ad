// Every registered command with a fuzzed editor text, replies, answers, digits and fields, with
// the checks after it or not: it must return, and what it writes (the checks' JSON too) must be
// valid UTF-8 (what a person types always is). Orders and step counts are kept small so that each
// run stays quick; their limits are tested elsewhere.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "command/document_text.h"
#include "command/scripted_interaction.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "registry/registry.h"

namespace {

constexpr double kLargestNumberReply = 12;

std::string Bounded(std::string reply) {
    return std::fabs(koravin::ReadLeadingNumber(reply)) > kLargestNumberReply ? std::string("12") : reply;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace koravin;
    FuzzedDataProvider input(data, size);
    const auto commands = AllCommands();
    if (commands.empty()) return 0;
    const CommandInfo& command = commands[input.ConsumeIntegralInRange<std::size_t>(0, commands.size() - 1)];
    const int digits = input.ConsumeIntegralInRange(1, 16);
    const bool withChecks = input.ConsumeBool();
    std::vector<std::string> replies;
    const int replyCount = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < replyCount; ++i) replies.push_back(Bounded(DecodeDocument(input.ConsumeRandomLengthString(40))));
    std::vector<bool> answers;
    const int answerCount = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < answerCount; ++i) answers.push_back(input.ConsumeBool());
    std::map<std::string, std::string> fields;
    for (const char* name : {"Text1", "Text2", "Text3"}) fields[name] = DecodeDocument(input.ConsumeRandomLengthString(60));
    fields["Text4"] = Bounded(DecodeDocument(input.ConsumeRandomLengthString(8)));
    fields["Exact"] = DecodeDocument(input.ConsumeRandomLengthString(30));
    const std::string editor = DecodeDocument(input.ConsumeRemainingBytesAsString());

    ScriptedInteraction user(std::move(replies), std::move(answers));
    StringPane pane("previous");
    CommandContext context{editor, pane, user, digits, std::move(fields), {}};
    std::string json;
    if (withChecks) {
        json = CheckResultsJson(RunWithChecks(command, context));
    } else {
        command.run(context);
    }
    for (const std::string* text : {&pane.text(), static_cast<const std::string*>(&json)}) {
        if (!IsValidUtf8(*text)) {
            std::fprintf(stderr, "%.*s wrote invalid UTF-8:\n%s\n", static_cast<int>(command.name.size()),
                         command.name.data(), text->c_str());
            __builtin_trap();
        }
    }
    return 0;
}
