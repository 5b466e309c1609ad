#pragma once

// Reading a call's JSON request and answering it: the pieces every call of the module shares.

#include <new>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace koravin {

using Json = nlohmann::ordered_json;

// A request that does not fit its call; the answer says why.
struct BadRequest {
    std::string reason;
};

Json ParseRequest(std::string_view request);

// A member of the request, or `absent` when it is missing or null; BadRequest for another type.
std::string TextOf(const Json& request, const char* key, std::string absent = {});
double NumberOf(const Json& request, const char* key, double absent);
bool FlagOf(const Json& request, const char* key);

// {"status": "error", "error": reason}
std::string ErrorJson(std::string_view reason);

// Small answers, written by the library; texts that are not UTF-8 have their bad bytes replaced.
std::string Dump(const Json& json);

// The call's answer, or what was wrong with the request.
template <typename Call>
std::string Answer(Call call) {
    try {
        return call();
    } catch (const BadRequest& bad) {
        return ErrorJson(bad.reason);
    } catch (const Json::exception& wrong) {
        return ErrorJson(wrong.what());
    } catch (const std::bad_alloc&) {
        return ErrorJson("内存不足");
    }
}

}  // namespace koravin
