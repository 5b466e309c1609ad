#pragma once

// What koravin-cli says about itself: each verb with its options, one line each, and an example.
// The manual page packaging/man/koravin-cli.1 says the same at length; a test holds the two
// together.

#include <optional>
#include <string>
#include <string_view>

namespace koravin {

// The whole usage, for --help, -h and help.
std::string Usage();

// The part of one verb ("list", "eval", "run", "help"); nothing for a word that is no verb.
std::optional<std::string> VerbUsage(std::string_view verb);

}  // namespace koravin
