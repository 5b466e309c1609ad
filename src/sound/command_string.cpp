#include "sound/command_string.h"

namespace koravin {
namespace {

bool IsAlias(std::string_view word) {
    return !word.empty() && word.find(' ') == std::string_view::npos;
}

// The word between prefix and suffix, when command is exactly prefix + alias + suffix.
std::optional<std::string> AliasBetween(std::string_view command, std::string_view prefix,
                                        std::string_view suffix) {
    if (command.size() < prefix.size() + suffix.size() || !command.starts_with(prefix) ||
        !command.ends_with(suffix)) {
        return std::nullopt;
    }
    const std::string_view alias =
        command.substr(prefix.size(), command.size() - prefix.size() - suffix.size());
    if (!IsAlias(alias)) return std::nullopt;
    return std::string(alias);
}

}  // namespace

std::optional<TuneCommand> ParseCommandString(std::string_view command) {
    constexpr std::string_view kOpen = "open ";
    constexpr std::string_view kAlias = " alias ";
    if (command.starts_with(kOpen)) {
        // The alias is one word, so the last " alias " is the keyword; any earlier one belongs
        // to the file name.
        const std::size_t keyword = command.rfind(kAlias);
        if (keyword == std::string_view::npos || keyword < kOpen.size()) return std::nullopt;
        const std::string_view file = command.substr(kOpen.size(), keyword - kOpen.size());
        const std::string_view alias = command.substr(keyword + kAlias.size());
        if (file.empty() || !IsAlias(alias)) return std::nullopt;
        return TuneCommand{TuneCommand::Verb::Open, std::string(file), std::string(alias)};
    }
    if (auto alias = AliasBetween(command, "play ", " from 0")) {
        return TuneCommand{TuneCommand::Verb::Play, {}, std::move(*alias)};
    }
    if (auto alias = AliasBetween(command, "stop ", "")) {
        return TuneCommand{TuneCommand::Verb::Stop, {}, std::move(*alias)};
    }
    if (auto alias = AliasBetween(command, "close ", "")) {
        return TuneCommand{TuneCommand::Verb::Close, {}, std::move(*alias)};
    }
    return std::nullopt;
}

}  // namespace koravin
