// The browser edition's calls with fuzzed requests: well-formed JSON whose members are fuzzed
// (texts, numbers of every size, NaN views, odd fonts, answers of the wrong kind), and now and
// then the bytes themselves. Every call must return JSON with a status, never crash or hang.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "registry/registry.h"
#include "web/picture_api.h"
#include "web/web_api.h"

namespace {

using Json = nlohmann::json;

double Number(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: return input.ConsumeFloatingPoint<double>();
        case 1: return input.ConsumeIntegralInRange(-50, 50);
        case 2: return input.ConsumeFloatingPointInRange(-1e3, 1e3);
        default: return input.ConsumeIntegralInRange(0, 2000);
    }
}

Json Marks(FuzzedDataProvider& input) {
    Json marks = Json::array();
    const int count = input.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < count; ++i) {
        Json mark = {{"index", input.ConsumeIntegralInRange(-2, 8)}, {"x", Number(input)}, {"through", Json::array()}};
        for (int p = input.ConsumeIntegralInRange(0, 2); p > 0; --p) mark["through"].push_back({Number(input), Number(input)});
        mark["bracket"] = input.ConsumeBool() ? Json{Number(input), Number(input)} : Json();
        marks.push_back(mark);
    }
    return marks;
}

void Check(const std::string& answer) {
    const Json json = Json::parse(answer, nullptr, false);
    if (json.is_discarded() || !json.contains("status")) {
        std::fprintf(stderr, "not an answer: %s\n", answer.c_str());
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace koravin;
    FuzzedDataProvider input(data, size);
    const auto commands = AllCommands();
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            Json request = {{"command", commands[input.ConsumeIntegralInRange<std::size_t>(0, commands.size() - 1)].name},
                            {"editor", input.ConsumeRandomLengthString(60)},
                            {"digits", input.ConsumeIntegralInRange(0, 17)},
                            {"check", input.ConsumeBool()},
                            {"picture", input.ConsumeBool()},
                            {"fields", {{"Text1", input.ConsumeRandomLengthString(20)}, {"Text2", "0"}, {"Text3", "1"},
                                        {"Text4", std::to_string(input.ConsumeIntegralInRange(-1, 40))}}},
                            {"answers", Json::array()}};
            for (int i = input.ConsumeIntegralInRange(0, 8); i > 0; --i) {
                const int kind = input.ConsumeIntegralInRange(0, 3);
                if (kind == 0) request["answers"].push_back(nullptr);
                else if (kind == 1) request["answers"].push_back(input.ConsumeBool());
                else request["answers"].push_back(std::to_string(input.ConsumeIntegralInRange(-3, 12)));
            }
            Check(RunJson(request.dump(-1, ' ', false, Json::error_handler_t::replace)));
            break;
        }
        case 1: {
            static const char* kinds[] = {"function", "cobweb", "decay", "columns", "empty", "other"};
            Json request = {{"kind", kinds[input.ConsumeIntegralInRange(0, 5)]},
                            {"width", Number(input)}, {"height", Number(input)},
                            {"font", {{"size", Number(input)}, {"wide", Number(input)}, {"height", Number(input)}}},
                            {"function", input.ConsumeRandomLengthString(20)},
                            {"marks", Marks(input)},
                            {"runs", {{{"caption", "二分法"}, {"marks", Marks(input)}},
                                      {{"method", "SOR"}, {"relaxation", Number(input)}, {"changes", {Number(input), Number(input)}},
                                       {"radius", Number(input)}}}},
                            {"columns", {{"x", {0, Number(input), 1}}, {"first", {1, Number(input)}}, {"second", {Number(input)}},
                                         {"firstHeading", "Y"}, {"secondHeading", "Z"}}},
                            {"exact", input.ConsumeRandomLengthString(12)}};
            if (input.ConsumeBool()) {
                request["view"] = {{"left", Number(input)}, {"right", Number(input)}, {"bottom", Number(input)}, {"top", Number(input)}};
            }
            if (input.ConsumeBool()) {
                request["zoom"] = {{"x", Number(input)}, {"y", Number(input)}, {"factorX", Number(input)}, {"factorY", Number(input)}};
            }
            if (input.ConsumeBool()) {
                request["drag"] = {{"fromX", Number(input)}, {"fromY", Number(input)}, {"toX", Number(input)}, {"toY", Number(input)}};
            }
            const std::string text = request.dump(-1, ' ', false, Json::error_handler_t::replace);
            if (input.ConsumeBool()) {
                // The same drawing from a held source, or from a number that holds none.
                const std::string answer = HoldPictureJson(text);
                Check(answer);
                const Json held = Json::parse(answer);
                request["held"] = held.contains("held") ? held["held"] : Json(input.ConsumeIntegral<int>());
                Check(PictureJson(request.dump(-1, ' ', false, Json::error_handler_t::replace)));
                Check(ReleasePictureJson(Json{{"held", request["held"]}}.dump()));
            } else {
                Check(PictureJson(text));
            }
            break;
        }
        case 2: {
            const Json request = {{"function", input.ConsumeRandomLengthString(20)}, {"xmin", Number(input)},
                                  {"xmax", Number(input)}, {"pixels", Number(input)}};
            Check(SampleJson(request.dump(-1, ' ', false, Json::error_handler_t::replace)));
            Check(DivisionCountJson(Json{{"text", input.ConsumeRandomLengthString(10)}, {"step", Number(input)}}.dump(
                -1, ' ', false, Json::error_handler_t::replace)));
            break;
        }
        default: {
            const std::string bytes = input.ConsumeRemainingBytesAsString();
            Check(RunJson(bytes));
            Check(PictureJson(bytes));
            Check(HoldPictureJson(bytes));
        }
    }
    return 0;
}
