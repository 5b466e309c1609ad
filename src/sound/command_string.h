#pragma once

// Reading the command strings of the tune service (see tune.h for their forms).

#include <optional>
#include <string>
#include <string_view>

namespace koravin {

struct TuneCommand {
    enum class Verb { Open, Play, Stop, Close };
    Verb verb;
    std::string file;  // "open" only
    std::string alias;
};

// Nothing for a string that is not one of the four commands. An alias is one word: not empty,
// no blanks. A file name is taken byte for byte, whatever its blanks and characters.
std::optional<TuneCommand> ParseCommandString(std::string_view command);

}  // namespace koravin
