#pragma once

// A long computation can be asked, from another thread, to stop between two of its steps
// (elimination columns, sweeps, matrix rows). The front end that runs a command on a worker
// thread installs the command's StopRequest for that thread; the computation calls
// BetweenSteps() where stopping is safe, and leaves by the exception CommandStopped. Outside
// such a scope (koravin-cli, the tests) BetweenSteps() does nothing.

#include <atomic>

namespace koravin {

struct CommandStopped {};

class StopRequest {
public:
    void request() { requested_.store(true, std::memory_order_relaxed); }
    bool requested() const { return requested_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> requested_{false};
};

// Makes `request` the calling thread's stop request while it lives.
class StopScope {
public:
    explicit StopScope(const StopRequest& request);
    ~StopScope();
    StopScope(const StopScope&) = delete;
    StopScope& operator=(const StopScope&) = delete;

private:
    const StopRequest* previous_;
};

// Throws CommandStopped once the calling thread's stop request has been made.
void BetweenSteps();

}  // namespace koravin
