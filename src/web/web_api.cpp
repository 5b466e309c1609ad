#include "web/web_api.h"

#include <new>

#include "checks/checks.h"
#include "checks/iteration_matrix.h"
#include "checks/sweep_radius.h"
#include "command/scripted_interaction.h"
#include "examples/examples.h"
#include "matrix/report.h"
#include "ode/ode_input.h"
#include "plot/collected_picture.h"
#include "registry/registry.h"
#include "web/example_files.h"
#include "web/json_text.h"
#include "web/replay_interaction.h"
#include "web/request.h"

namespace koravin {
namespace {

std::vector<ReplayAnswer> AnswersOf(const Json& request) {
    std::vector<ReplayAnswer> answers;
    const auto found = request.find("answers");
    if (found == request.end() || found->is_null()) return answers;
    if (!found->is_array()) throw BadRequest{"answers must be a list"};
    for (const Json& answer : *found) {
        if (answer.is_null()) answers.emplace_back(std::optional<std::string>());
        else if (answer.is_string()) answers.emplace_back(std::optional<std::string>(answer.get<std::string>()));
        else if (answer.is_boolean()) answers.emplace_back(answer.get<bool>());
        else throw BadRequest{"an answer is a text, null (取消), true (是) or false (否)"};
    }
    return answers;
}

std::map<std::string, std::string> FieldsOf(const Json& request) {
    std::map<std::string, std::string> fields;
    const auto found = request.find("fields");
    if (found == request.end() || found->is_null()) return fields;
    if (!found->is_object()) throw BadRequest{"fields must be an object of texts"};
    for (const auto& [name, value] : found->items()) {
        if (!value.is_string()) throw BadRequest{"the field " + name + " must be a text"};
        fields[name] = value.get<std::string>();
    }
    return fields;
}

std::string_view KindName(InteractionEvent::Kind kind) {
    switch (kind) {
        case InteractionEvent::Kind::Prompt: return "prompt";
        case InteractionEvent::Kind::Message: return "message";
        case InteractionEvent::Kind::Question: return "question";
    }
    return "";
}

// An event as the page shows it; `answer` is the answer given (a text; true or false for 是/否),
// absent for a message and for the event still waiting.
void WriteEvent(JsonWriter& json, const InteractionEvent& event, bool answered) {
    json.beginObject().key("kind").text(KindName(event.kind)).key("title").text(event.title);
    json.key("text").text(event.text).key("default").text(event.defaultReply);
    if (answered && event.kind == InteractionEvent::Kind::Prompt) json.key("answer").text(event.answer);
    if (answered && event.kind == InteractionEvent::Kind::Question) json.key("answer").flag(event.answer == "yes");
    json.endObject();
}

void WritePicture(JsonWriter& json, const CollectedPicture& picture) {
    json.beginObject();
    if (!picture.marks.empty()) {
        json.key("marks").beginList();
        for (const IterateMark& mark : picture.marks) {
            json.beginObject().key("index").number(mark.index).key("x").number(mark.x).key("through").beginList();
            for (const IterateMark::Point& point : mark.through) json.beginList().number(point.x).number(point.y).endList();
            json.endList().key("bracket");
            if (mark.bracket) json.beginList().number(mark.bracket->first).number(mark.bracket->second).endList();
            else json.null();
            json.endObject();
        }
        json.endList();
    }
    if (picture.phi) json.key("phi").text(*picture.phi);
    if (!picture.x.empty()) {
        json.key("columns").beginObject().key("x").numbers(picture.x);
        json.key("firstHeading").text(picture.firstHeading).key("first").numbers(picture.first);
        json.key("secondHeading").text(picture.secondHeading).key("second").numbers(picture.second);
        json.endObject();
    }
    if (picture.sweepRun) {
        const auto& run = *picture.sweepRun;
        json.key("sweeps").beginObject().key("method").text(run.method).key("relaxation").number(run.relaxation);
        json.key("order").number(run.order).key("changes").numbers(run.changes).key("radius").number(run.radius);
        json.endObject();
    }
    json.endObject();
}

std::string RunCommand(const Json& request) {
    const CommandInfo* command = FindCommand(TextOf(request, "command"));
    if (command == nullptr) throw BadRequest{"no command named \"" + TextOf(request, "command") + "\""};
    const double digits = NumberOf(request, "digits", 6);
    if (!(digits >= 1 && digits <= 16) || digits != static_cast<int>(digits)) {
        throw BadRequest{"digits is a whole number from 1 to 16"};
    }
    const bool check = FlagOf(request, "check");
    const bool withPicture = FlagOf(request, "picture");

    ReplayInteraction user(AnswersOf(request));
    StringPane pane(TextOf(request, "result"));
    CollectedPicture picture;
    picture.radiusOrderLimit = kSpectralRadiusOrderLimit;
    CommandContext context{TextOf(request, "editor"), pane, user, static_cast<int>(digits), FieldsOf(request), {},
                           withPicture ? &picture : nullptr};
    std::string_view status = "done";
    std::optional<InteractionEvent> pending;
    std::string_view error;
    std::optional<CheckResults> checks;
    try {
        if (check) {
            checks = RunWithChecks(*command, context);
        } else {
            command->run(context);
        }
    } catch (const AwaitingAnswer& waiting) {
        status = "waiting";
        pending = waiting.pending;
    } catch (const MismatchedAnswer& mismatch) {
        status = "error";
        pending = mismatch.asked;
        error = mismatch.asked.kind == InteractionEvent::Kind::Question
                    ? "a question is answered with true (是) or false (否), not a text"
                    : "a prompt is answered with a text or null (取消), not true or false";
    }

    std::string response;
    response.reserve(pane.text().size() + pane.text().size() / 8 + 4096);
    JsonWriter json(response);
    json.beginObject().key("status").text(status);
    if (!error.empty()) json.key("error").text(error);
    json.key("report").text(pane.text());
    json.key("events").beginList();
    for (const InteractionEvent& event : user.events()) WriteEvent(json, event, true);
    json.endList();
    if (pending) {
        json.key("pending");
        WriteEvent(json, *pending, false);
    }
    if (checks) json.key("checks").beginObject().key("text").text(CheckBlockText(*checks)).key("values").raw(CheckResultsJson(*checks)).endObject();
    if (status == "done") {
        if (withPicture && picture.sweepRun) {
            const auto& run = *picture.sweepRun;
            const std::optional<double>* known = checks ? checks->find("spectral_radius") : nullptr;
            picture.setRadius(known ? *known : SweepRunRadius(run.method, run.relaxation, run.order, run.system));
        }
        if (withPicture) {
            json.key("picture");
            WritePicture(json, picture);
        }
        if (!context.focusField.empty()) json.key("focus").text(context.focusField);
    }
    json.endObject();
    return response;
}

}  // namespace

std::string CommandsJson() {
    Json commands = Json::array();
    const auto add = [&commands](const CommandInfo& command, std::string_view submenu, bool separatorBefore,
                                 std::string_view headingBefore) {
        Json entry = {{"name", command.name},       {"caption", command.caption},
                      {"workspace", WorkspaceName(command.workspace)}, {"submenu", submenu},
                      {"separatorBefore", separatorBefore}};
        if (!headingBefore.empty()) entry["headingBefore"] = headingBefore;
        commands.push_back(std::move(entry));
    };
    for (const Workspace workspace : {Workspace::Linear, Workspace::Nonlinear}) {
        bool separator = false;
        std::string_view heading;
        for (const MethodMenuEntry& item : MethodMenu(workspace)) {
            if (item.kind == MethodMenuEntry::Kind::Separator) {
                separator = true;
            } else if (item.kind == MethodMenuEntry::Kind::Heading) {
                heading = item.caption;
            } else {
                add(*FindCommand(item.name), item.submenu, std::exchange(separator, false), std::exchange(heading, {}));
            }
        }
    }
    for (const CommandInfo& command : AllCommands()) {
        if (command.workspace == Workspace::DifferentialEquation) add(command, {}, false, {});
    }
    return Dump(commands);
}

std::string ExamplesJson() {
    Json examples = Json::array();
    for (const Example& example : LoadExamples(ReadExampleFile)) {
        examples.push_back({{"name", example.name},
                            {"title", ExampleTitle(example)},
                            {"command", example.command},
                            {"workspace", WorkspaceName(FindCommand(example.command)->workspace)},
                            {"shows", example.shows},
                            {"hint", example.hint},
                            {"editor", example.editorText},
                            {"fields", example.fields},
                            {"exact", example.exactSolution},
                            {"replies", example.replies},
                            {"yesNo", example.answers}});
    }
    return Dump(examples);
}

std::string RunJson(std::string_view request) {
    return Answer([&] { return RunCommand(ParseRequest(request)); });
}

std::string DecimalDigitsJson(std::string_view request) {
    return Answer([&] {
        const int digits = DecimalDigitsFromReply(TextOf(ParseRequest(request), "reply"));
        return Dump(Json{{"status", "done"}, {"digits", digits}});
    });
}

std::string DivisionCountJson(std::string_view request) {
    return Answer([&] {
        const Json json = ParseRequest(request);
        const std::string typed = TextOf(json, "text");
        const double steps = NumberOf(json, "step", 0);
        const std::string text = steps == 0 ? DivisionCountText(typed)
                                            : SteppedDivisionCountText(typed, steps > 0 ? 1 : -1);
        const DivisionSpinner spinner = DivisionSpinnerState(text);
        return Dump(Json{{"status", "done"}, {"text", text}, {"up", spinner.up}, {"down", spinner.down}});
    });
}

}  // namespace koravin
