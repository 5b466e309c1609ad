#include "steps/stop_request.h"

namespace koravin {
namespace {

thread_local const StopRequest* currentRequest = nullptr;

}  // namespace

StopScope::StopScope(const StopRequest& request) : previous_(currentRequest) { currentRequest = &request; }

StopScope::~StopScope() { currentRequest = previous_; }

void BetweenSteps() {
    if (currentRequest != nullptr && currentRequest->requested()) throw CommandStopped{};
}

}  // namespace koravin
