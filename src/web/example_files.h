#pragma once

// The files of assets/examples, built into the module (a browser has no folder to read them from).

#include <optional>
#include <string>

namespace koravin {

// The text of "index.txt" or of an example file by its name; nothing for a name not built in.
std::optional<std::string> ReadExampleFile(const std::string& name);

}  // namespace koravin
