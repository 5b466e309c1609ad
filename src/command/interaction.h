#pragma once

// The one seam between a command and whoever answers it: a person at the windows, koravin-cli
// with its scripted replies, or a test. A command talks only to the Interaction and the Pane it
// is handed, and never knows which of them it is.

#include <map>
#include <string>
#include <string_view>

namespace koravin {

inline constexpr std::string_view kApplicationTitle = "Koravin";

struct Prompt {
    std::string text;
    std::string title;  // "" stands for the application's title
    std::string defaultReply;
};

class Interaction {
public:
    virtual ~Interaction() = default;
    // An input prompt; Cancel answers "".
    virtual std::string ask(const Prompt& prompt) = 0;
    // A message box with one OK button, no icon and the application's title.
    virtual void tell(std::string_view message) = 0;
    // A question with Yes and No, No being the default; true for Yes.
    virtual bool confirm(std::string_view question, std::string_view title) = 0;
};

// The result pane: a command empties it and appends; it never reads it back.
class Pane {
public:
    virtual ~Pane() = default;
    virtual void clear() = 0;
    virtual void append(std::string_view text) = 0;
};

struct CommandContext {
    std::string editorText;                    // the workspace's editor pane
    Pane& result;
    Interaction& user;
    int decimalDigits = 6;                     // the linear workspace's DecimalDigits
    std::map<std::string, std::string> fields; // the text fields of a form window (Text1, Text2, ...)
    std::string focusField;                    // set by a command that wants the focus moved there
};

enum class Workspace { Linear, Nonlinear, DifferentialEquation };

struct CommandInfo {
    std::string_view name;     // the command's name, e.g. "Gauss_1"
    Workspace workspace;
    std::string_view caption;  // the Chinese menu caption
    void (*run)(CommandContext&);
};

std::string_view WorkspaceName(Workspace workspace);

}  // namespace koravin
