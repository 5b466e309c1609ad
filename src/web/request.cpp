#include "web/request.h"

#include "web/json_text.h"

namespace koravin {

Json ParseRequest(std::string_view request) {
    Json json = Json::parse(request, nullptr, false);
    if (json.is_discarded() || !json.is_object()) throw BadRequest{"the request is not a JSON object"};
    return json;
}

std::string TextOf(const Json& request, const char* key, std::string absent) {
    const auto found = request.find(key);
    if (found == request.end() || found->is_null()) return absent;
    if (!found->is_string()) throw BadRequest{std::string(key) + " must be a text"};
    return found->get<std::string>();
}

double NumberOf(const Json& request, const char* key, double absent) {
    const auto found = request.find(key);
    if (found == request.end() || found->is_null()) return absent;
    if (!found->is_number()) throw BadRequest{std::string(key) + " must be a number"};
    return found->get<double>();
}

bool FlagOf(const Json& request, const char* key) {
    const auto found = request.find(key);
    if (found == request.end() || found->is_null()) return false;
    if (!found->is_boolean()) throw BadRequest{std::string(key) + " must be true or false"};
    return found->get<bool>();
}

std::string ErrorJson(std::string_view reason) {
    std::string response;
    JsonWriter(response).beginObject().key("status").text("error").key("error").text(reason).endObject();
    return response;
}

std::string Dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace koravin
