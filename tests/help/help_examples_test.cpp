// Every worked example of the help pages (assets/help/*.html) is a real run of the program: this
// test runs each one again and compares the dialogue and the report with the page, checks that
// every command has an example, and that the links between the pages lead somewhere.
//
// An example is one <div> (with no <div> inside it) holding, in any order:
//
//   <div class="example" data-example="gauss_order3" data-command="Gauss_1" data-digits="6">
//                                         the example of assets/examples it shows (every page but
//                                         the messages' takes its examples from there), the command
//                                         as the registry names it; data-digits (decimal digits,
//                                         1..16) is optional, 6
//   <pre class="editor">2 1 -1 8       the editor pane, optional; its lines reach the command
//   -3 -1 2 -11</pre>                     joined by CR LF, as the windows hold them
//   <tr class="field" data-name="Text1"><th>函数F(x)导数</th><td>y-x</td></tr>
//                                         a field of a differential-equation window; Text4 passes
//                                         through the window's correction of the division count
//   <tr class="prompt"><td>text</td><td>title</td><td>default</td><td>reply</td></tr>
//   <tr class="question"><td>text</td><td>title</td><td></td><td>是 or 否</td></tr>
//   <tr class="message"><td>text</td><td>Koravin</td><td></td><td>确定</td></tr>
//                                         every prompt, question and message box of the run, in
//                                         order, with the reply given; a reply cell
//                                         <td class="cancel">取消</td> is Cancel; a title is
//                                         "Koravin" where the dialog has none of its own
//   <pre class="report">...</pre>         the result pane afterwards, whole, LF for its CR LF
//   </div>
//
// Texts are HTML-escaped with &amp; &lt; &gt; &quot; (no other entity); inside a cell <br> is a
// line break (CR LF). The examples are written from `koravin-cli run ... --trace`.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "examples/examples.h"
#include "ode/ode_input.h"
#include "registry/registry.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kHelpDir = KORAVIN_HELP_DIR;

struct Example {
    std::string name;  // page and ordinal: "linear_3"
    std::string markup;
};

void PrintTo(const Example& example, std::ostream* out) { *out << example.name; }

// A help page with its line ends as LF, whatever the editor that saved it used.
std::string ReadPage(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::erase(text, '\r');
    return text;
}

std::vector<fs::path> Pages() {
    std::vector<fs::path> pages;
    if (fs::is_directory(kHelpDir)) {
        for (const auto& entry : fs::directory_iterator(kHelpDir)) {
            if (entry.path().extension() == ".html") pages.push_back(entry.path());
        }
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::vector<Example> AllExamples() {
    std::vector<Example> examples;
    for (const auto& page : Pages()) {
        const std::string text = ReadPage(page);
        std::string stem = page.stem().string();  // a test name takes letters, digits and "_" only
        std::replace_if(stem.begin(), stem.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
        int ordinal = 0;
        for (auto start = text.find("<div class=\"example\""); start != std::string::npos;
             start = text.find("<div class=\"example\"", start + 1)) {
            const auto end = text.find("</div>", start);
            examples.push_back({stem + "_" + std::to_string(++ordinal),
                                text.substr(start, end == std::string::npos ? end : end - start)});
        }
    }
    return examples;
}

// The text between `open` (looked for from `from` on) and the next `close`; `from` moves past `close`.
std::optional<std::string_view> Between(std::string_view markup, std::string_view open, std::string_view close,
                                        std::size_t& from) {
    const auto start = markup.find(open, from);
    if (start == std::string_view::npos) return std::nullopt;
    const auto end = markup.find(close, start + open.size());
    if (end == std::string_view::npos) {
        throw std::runtime_error("no " + std::string(close) + " after " + std::string(open));
    }
    from = end + close.size();
    return markup.substr(start + open.size(), end - start - open.size());
}

std::string_view Attribute(std::string_view tag, std::string_view name) {
    std::size_t from = 0;
    return Between(tag, std::string(name) + "=\"", "\"", from).value_or("");
}

std::string Unescaped(std::string_view html) {
    static const std::map<std::string, std::string, std::less<>> kEntities = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"<br>", "\r\n"}};
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] != '&' && !html.substr(i).starts_with("<br>")) {
            text += html[i++];
            continue;
        }
        const auto end = html.find_first_of(";>", i);
        const std::string_view entity = html.substr(i, end == std::string_view::npos ? 8 : end - i + 1);
        const auto found = kEntities.find(entity);
        if (found == kEntities.end()) throw std::runtime_error("unknown entity: " + std::string(entity));
        text += found->second;
        i = end + 1;
    }
    return text;
}

std::string WithCrLf(std::string_view text) {
    std::string crlf;
    for (const char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

struct Cell {
    bool cancel;
    std::string text;
};

std::vector<Cell> Cells(std::string_view row) {
    std::vector<Cell> cells;
    std::size_t from = 0;
    while (const auto tag = Between(row, "<td", ">", from)) {
        const auto content = Between(row, "", "</td>", from);
        cells.push_back({Attribute(*tag, "class") == "cancel", Unescaped(content.value_or(""))});
    }
    return cells;
}

std::string DialogueLine(const InteractionEvent& event) {
    static constexpr std::string_view kKinds[] = {"prompt", "message", "question"};
    return std::string(kKinds[static_cast<int>(event.kind)]) + " | " + event.title + " | " + event.text + " | " +
           event.defaultReply + " | " + event.answer + "\n";
}

struct ExpectedRun {
    std::string example;
    const CommandInfo* command = nullptr;
    CommandScript script;
    std::string dialogue;
    std::string report;
};

ExpectedRun ReadExample(std::string_view markup) {
    ExpectedRun expected;
    const std::string_view head = markup.substr(0, markup.find('>'));
    const std::string name(Attribute(head, "data-command"));
    expected.example = Attribute(head, "data-example");
    expected.command = FindCommand(name);
    if (expected.command == nullptr) throw std::runtime_error("no command named \"" + name + "\"");
    if (const auto digits = Attribute(head, "data-digits"); !digits.empty()) {
        expected.script.digits = std::stoi(std::string(digits));
    }

    std::size_t from = 0;
    const auto editor = Between(markup, "<pre class=\"editor\">", "</pre>", from);
    expected.script.editor = WithCrLf(Unescaped(editor.value_or("")));
    from = 0;
    const auto report = Between(markup, "<pre class=\"report\">", "</pre>", from);
    if (!report) throw std::runtime_error("no <pre class=\"report\">");
    expected.report = WithCrLf(Unescaped(*report));

    from = 0;
    while (const auto found = Between(markup, "<tr class=\"", "</tr>", from)) {
        const std::string_view row = *found;
        const std::string_view kind = row.substr(0, row.find('"'));
        const std::vector<Cell> cells = Cells(row);
        if (kind == "field") {
            const std::string field(Attribute(row.substr(0, row.find('>')), "data-name"));
            if (cells.size() != 1) throw std::runtime_error("a field row needs one <td>: " + field);
            expected.script.fields[field] = field == "Text4" ? DivisionCountText(cells[0].text) : cells[0].text;
            continue;
        }
        if (cells.size() != 4) throw std::runtime_error("a " + std::string(kind) + " row needs four <td>");
        InteractionEvent event{InteractionEvent::Kind::Prompt, cells[1].text, cells[0].text, cells[2].text, {}};
        if (kind == "prompt") {
            event.answer = cells[3].cancel ? "" : cells[3].text;
            expected.script.replies.push_back(event.answer);
        } else if (kind == "question") {
            if (cells[3].text != "是" && cells[3].text != "否") throw std::runtime_error("answer 是 or 否");
            event.kind = InteractionEvent::Kind::Question;
            event.answer = cells[3].text == "是" ? "yes" : "no";
            expected.script.answers.push_back(event.answer == "yes");
        } else if (kind == "message") {
            event.kind = InteractionEvent::Kind::Message;
        } else {
            throw std::runtime_error("unknown row class \"" + std::string(kind) + "\"");
        }
        expected.dialogue += DialogueLine(event);
    }
    return expected;
}

// The example file the help shows holds the same input and answers: the examples are the one
// source of the help's worked examples.
void ExpectSameInput(const ExpectedRun& help, const std::string& page) {
    if (help.example.empty()) {
        if (!page.starts_with("messages_")) ADD_FAILURE() << page << " does not name its example (data-example)";
        return;
    }
    static const std::vector<koravin::Example> kExamples = LoadExampleFolder(KORAVIN_EXAMPLES_DIR);
    const auto example = std::find_if(kExamples.begin(), kExamples.end(),
                                      [&](const koravin::Example& known) { return known.name == help.example; });
    if (example == kExamples.end()) {
        ADD_FAILURE() << page << ": no example named " << help.example;
        return;
    }
    std::map<std::string, std::string> fields = example->fields;
    if (fields.contains("Text4")) fields["Text4"] = DivisionCountText(fields["Text4"]);
    EXPECT_EQ(help.command->name, example->command) << page;
    EXPECT_EQ(help.script.editor, example->editorText) << page;
    EXPECT_EQ(help.script.replies, example->replies) << page;
    EXPECT_EQ(help.script.answers, example->answers) << page;
    EXPECT_EQ(help.script.fields, fields) << page;
    EXPECT_EQ(help.script.digits, 6) << page << ": the windows run an example at 6 decimal digits";
}

class WorkedExample : public ::testing::TestWithParam<Example> {};

TEST_P(WorkedExample, IsWhatTheProgramDoes) {
    ExpectedRun expected;
    try {
        expected = ReadExample(GetParam().markup);
    } catch (const std::exception& error) {
        FAIL() << "cannot read the example: " << error.what();
    }
    ExpectSameInput(expected, GetParam().name);
    const CommandRun run = RunCommand(expected.command->run, expected.script);
    std::string dialogue;
    for (const auto& event : run.events) dialogue += DialogueLine(event);
    if (dialogue != expected.dialogue) {
        ADD_FAILURE() << "dialogue of " << expected.command->name << "\n--- in the help:\n"
                      << expected.dialogue << "--- the program:\n" << dialogue;
    }
    if (run.report != expected.report) {
        ADD_FAILURE() << "report of " << expected.command->name << "\n--- in the help:\n"
                      << expected.report << "\n--- the program:\n" << run.report;
    }
}

INSTANTIATE_TEST_SUITE_P(help, WorkedExample, ::testing::ValuesIn(AllExamples()),
                         [](const ::testing::TestParamInfo<Example>& info) { return info.param.name; });

TEST(help_pages, ShowAWorkedExampleOfEveryCommand) {
    const std::vector<Example> examples = AllExamples();
    ASSERT_FALSE(examples.empty()) << "no example in " << kHelpDir;
    for (const CommandInfo& command : AllCommands()) {
        const std::string mark = "data-command=\"" + std::string(command.name) + "\"";
        EXPECT_TRUE(std::any_of(examples.begin(), examples.end(),
                                [&](const Example& example) { return example.markup.find(mark) != std::string::npos; }))
            << "no example of " << command.name << " (" << command.caption << ")";
    }
}

// Every href and src names a page or file of the help folder, and an anchor after "#" is a
// <a name="..."> of that page: the help window shows nothing from elsewhere.
TEST(help_pages, LinksLeadToExistingPagesAndAnchors) {
    const std::vector<fs::path> pages = Pages();
    ASSERT_FALSE(pages.empty()) << "no page in " << kHelpDir;
    for (const auto& page : pages) {
        const std::string text = ReadPage(page);
        for (const std::string_view attribute : {" href=\"", " src=\""}) {
            std::size_t from = 0;
            while (const auto found = Between(text, attribute, "\"", from)) {
                const std::string_view link = *found;
                const auto hash = link.find('#');
                const fs::path target = hash == 0 ? page : kHelpDir / std::string(link.substr(0, hash));
                const std::string where = page.filename().string() + ": " + std::string(link);
                if (link.find(':') != std::string_view::npos || !fs::is_regular_file(target)) {
                    ADD_FAILURE() << where << " does not lead to a file of the help";
                } else if (hash != std::string_view::npos &&
                           ReadPage(target).find("<a name=\"" + std::string(link.substr(hash + 1)) + "\"") ==
                               std::string::npos) {
                    ADD_FAILURE() << where << ": no such anchor";
                }
            }
        }
    }
}

}  // namespace
}  // namespace koravin::testing
