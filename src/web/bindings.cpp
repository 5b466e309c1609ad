// The WebAssembly module's interface: createKoravin() gives an object whose calls take and
// return JSON text (see web_api.h). The texts cross as UTF-8 bytes in the module's memory,
// encoded and decoded by the browser (bindings.js), which is many times faster for reports of
// megabytes than converting them character by character.

#include <emscripten/bind.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "web/picture_api.h"
#include "web/web_api.h"

namespace {

// The last answer, kept until the next call: the page decodes it straight from here.
std::string answer;

template <std::string (*Call)(std::string_view)>
emscripten::val Answer(std::uintptr_t request, std::size_t length) {
    answer = Call(std::string_view(reinterpret_cast<const char*>(request), length));
    return emscripten::val(emscripten::typed_memory_view(answer.size(), reinterpret_cast<const std::uint8_t*>(answer.data())));
}

emscripten::val Listing(std::string (*list)()) {
    answer = list();
    return emscripten::val(emscripten::typed_memory_view(answer.size(), reinterpret_cast<const std::uint8_t*>(answer.data())));
}

}  // namespace

EMSCRIPTEN_BINDINGS(koravin) {
    emscripten::function("commandsBytes", +[] { return Listing(&koravin::CommandsJson); });
    emscripten::function("examplesBytes", +[] { return Listing(&koravin::ExamplesJson); });
    emscripten::function("runBytes", &Answer<&koravin::RunJson>);
    emscripten::function("sampleBytes", &Answer<&koravin::SampleJson>);
    emscripten::function("pictureBytes", &Answer<&koravin::PictureJson>);
    emscripten::function("holdPictureBytes", &Answer<&koravin::HoldPictureJson>);
    emscripten::function("releasePictureBytes", &Answer<&koravin::ReleasePictureJson>);
    emscripten::function("divisionsBytes", &Answer<&koravin::DivisionCountJson>);
    emscripten::function("decimalDigitsBytes", &Answer<&koravin::DecimalDigitsJson>);
}
