#pragma once

// When a running plan must end: at its deadline, or earlier when whoever
// started it asks it to stop (the window's "Стоп", a new report build, the
// program closing). Every loop of the optimiser polls it, so a plan returns
// its best result shortly after either happens.
//
// The steps of a plan are also counted as work: cells of a table, nodes of a
// search, iterations of the simplex, each weighed by about the nanoseconds it
// takes on the machine the weights were measured on. The short budgets inside
// a plan (a search of a few milliseconds, a relaxation's share of one node of
// a dive) are counted in work, not on the clock, so that they end at the same
// step however fast the machine is and whatever else runs on it: a plan that
// is proven optimal before its phases run out of their shares of the limit
// comes out the same, bar for bar, every time.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>

namespace cutting {

using Clock = std::chrono::steady_clock;

class Stop {
public:
    // No budget of work: only the clock and the request end it.
    static constexpr long long Unlimited = std::numeric_limits<long long>::max() / 4;

    explicit Stop(Clock::time_point deadline, const std::atomic<bool>* cancelled = nullptr)
        : deadline_(deadline), cancelled_(cancelled), done_(std::make_shared<long long>(0)) {}

    // True once the deadline has passed, the budget of work is used up, or a
    // stop was asked for.
    bool Now() const {
        return (cancelled_ != nullptr && cancelled_->load(std::memory_order_relaxed)) ||
               *done_ >= end_ || Clock::now() >= deadline_;
    }
    // True when only the owner's request, not the clock, ended the plan.
    bool Cancelled() const {
        return cancelled_ != nullptr && cancelled_->load(std::memory_order_relaxed);
    }
    Clock::time_point Deadline() const { return deadline_; }

    // Counts `steps` of work done. The count is shared by every stop made
    // from the same one; a plan runs on one thread.
    void Spend(long long steps) const { *done_ += steps; }
    long long Done() const { return *done_; }
    // The work left before the budget ends (Unlimited and more without one).
    long long Left() const { return end_ - *done_; }

    // The same stop with a deadline no later than `deadline`: the share of
    // the limit of one phase of a plan.
    Stop Until(Clock::time_point deadline) const {
        Stop s = *this;
        s.deadline_ = std::min(deadline, deadline_);
        return s;
    }
    // The same stop with no deadline and no budget: only the request ends it.
    Stop WithoutDeadline() const {
        Stop s = *this;
        s.deadline_ = Clock::time_point::max();
        s.end_ = Unlimited;
        return s;
    }
    // The same deadline and request with a count of work of its own and no
    // budget: for work that repeats work already counted, so that the shares
    // of a plan end where they would without it.
    Stop Apart() const {
        Stop s = *this;
        s.done_ = std::make_shared<long long>(0);
        s.end_ = Unlimited;
        return s;
    }
    // The same stop ending, at the latest, once `steps` more steps are done.
    Stop Within(long long steps) const {
        Stop s = *this;
        s.end_ = std::min(end_, *done_ + std::min(steps, Unlimited));
        return s;
    }

private:
    Clock::time_point deadline_;
    const std::atomic<bool>* cancelled_;
    std::shared_ptr<long long> done_;
    long long end_ = Unlimited;
};

// A duration weighed as work, at a step a nanosecond.
constexpr long long WorkOf(std::chrono::nanoseconds time) {
    return static_cast<long long>(time.count());
}
inline long long WorkOf(double seconds) {
    return static_cast<long long>(std::max(seconds, 0.0) * 1e9);
}

// Shares of a time limit's worth of work, counted from when it was made: the
// phases of a plan each end once the plan's work reaches their share.
class Shares {
public:
    Shares(const Stop& stop, double seconds)
        : stop_(stop), start_(stop.Done()), whole_(WorkOf(seconds)) {}

    // The plan's stop, ending too once the work reaches `share` of the whole.
    Stop Until(double share) const {
        const auto end = static_cast<long long>(static_cast<double>(whole_) * share);
        return stop_.Within(std::max(0LL, end - Spent()));
    }
    // The plan's stop, ending too once `share` more of the whole is done.
    Stop For(double share) const {
        return stop_.Within(static_cast<long long>(static_cast<double>(whole_) * share));
    }
    // The plan's stop, ending too once half the work left is done.
    Stop HalfOfTheRest() const { return stop_.Within(std::max(0LL, whole_ - Spent()) / 2); }

private:
    long long Spent() const { return stop_.Done() - start_; }

    const Stop& stop_;
    long long start_;
    long long whole_;
};

} // namespace cutting
