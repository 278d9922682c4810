#pragma once

// When a running plan must end: at its deadline, or earlier when whoever
// started it asks it to stop (the window's "Стоп", a new report build, the
// program closing). Every loop of the optimiser polls it, so a plan returns
// its best result shortly after either happens.

#include <algorithm>
#include <atomic>
#include <chrono>

namespace cutting {

using Clock = std::chrono::steady_clock;

class Stop {
public:
    explicit Stop(Clock::time_point deadline, const std::atomic<bool>* cancelled = nullptr)
        : deadline_(deadline), cancelled_(cancelled) {}

    // True once the deadline has passed or a stop was asked for.
    bool Now() const {
        return (cancelled_ != nullptr && cancelled_->load(std::memory_order_relaxed)) ||
               Clock::now() >= deadline_;
    }
    // True when only the owner's request, not the clock, ended the plan.
    bool Cancelled() const {
        return cancelled_ != nullptr && cancelled_->load(std::memory_order_relaxed);
    }
    Clock::time_point Deadline() const { return deadline_; }

    // The same request to stop with a deadline no later than `deadline`: the
    // budget of one step of a plan.
    Stop Until(Clock::time_point deadline) const {
        return Stop(std::min(deadline, deadline_), cancelled_);
    }

private:
    Clock::time_point deadline_;
    const std::atomic<bool>* cancelled_;
};

} // namespace cutting
