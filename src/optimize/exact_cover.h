#pragma once

// The depth-first exact cover behind CoverSearch (packing.h), apart so that
// the search and the steps that prepare it each stay readable.

#include "cover.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace cutting::detail {

// Depth-first search for a packing into exactly `bars` bars. Every bar holds
// at least `fewest` pieces (no bar of fewer fills to within the slack), so
// the pieces left beyond `fewest` for each bar left, the excess, is what bars
// of more pieces may hold beyond that. The list holds the bars of exactly
// `fewest` pieces; each step covers the size with the fewest listed bars left
// that could still hold it, trying each of them in turn and setting aside the
// ones tried (exact cover, with counts), and last sets the piece aside for a
// bar of more pieces. A bar stays possible while it fits what is still needed
// and leaves no more free length than the bars still to come may leave. What
// is set aside, and the pieces no listed bar can take any more, must fit into
// as many bars as the excess allows; the exact search packs them into the
// bars left at the end.
//
// With an excess of one, exactly one bar holds one piece more than the
// others: the search first picks that bar from a list of its own, those whose
// pieces have the fewest listed bars first, and asks the linear relaxation of
// the rest before searching it.
//
// A run ended by its stop can be taken up again: it goes on with the step it
// was stopped in (the restart, or the bar of one piece more, searched again).
class ExactCover {
public:
    // The list of bars is given up beyond this many bars, or this many steps
    // of listing them: a few megabytes and a few tens of milliseconds.
    static constexpr size_t MostBars = size_t{1} << 17;
    static constexpr long long MostSteps = 1LL << 22;

    ExactCover(const Instance& in, const BarList& list, int bars, long long slack, int fewest)
        : in_(in), list_(list), m_(in.size.size()), fewest_(fewest), rem_(in.demand),
          reserved_(m_, 0), openAt_(m_, 0), alive_(m_, 0), blocked_(list.Size(), 0), bySize_(m_),
          barsLeft_(bars), slack_(slack) {
        for (size_t b = 0; b < list.Size(); ++b)
            for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
                bySize_[static_cast<size_t>(it->type)].push_back({static_cast<int>(b), it->count});
                ++alive_[static_cast<size_t>(it->type)];
            }
        for (size_t t = 0; t < m_; ++t)
            if (rem_[t] > 0) {
                openAt_[t] = open_.size();
                open_.push_back(t);
            }
        pieces_ = in.Pieces();
        byWaste_.resize(list.Size());
        std::iota(byWaste_.begin(), byWaste_.end(), 0);
        std::stable_sort(byWaste_.begin(), byWaste_.end(),
                         [&](int a, int b) { return Waste(a) > Waste(b); });
    }

    // `exhausted` as for CoverPacking.
    Packing Run(const Stop& stop, bool& exhausted) {
        stop_ = &stop;
        stopped_ = false;
        exhausted = false;
        if (!pathChosen_) {
            pathChosen_ = true;
            long long steps = MostSteps;
            longerPath_ =
                Excess() == 1 && longer_.AddLevel(in_, slack_, fewest_ + 1, MostBars, steps);
        }
        if (longerPath_)
            return RunLonger(exhausted);
        // Restarts with a growing budget of nodes and, after the first, the
        // bars of each step in random order: a search that went wrong early
        // rarely recovers by backtracking, a fresh start often does. Where
        // it finds nothing soon, many packings nearly meet the bound and the
        // other searches do better.
        for (; nodes_ < MostNodes; ++restart_) {
            timedOut_ = false;
            nodeLimit_ = nodes_ + RestartNodes * Luby(restart_);
            proof_ = true;
            if (Node()) {
                exhausted = true;
                return Result();
            }
            if (!timedOut_) {
                exhausted = proof_;
                return {};
            }
            if (stop_->Now()) {
                stopped_ = true;
                return {};
            }
            shuffle_ = true;
        }
        return {};
    }

    // Whether the last run ended on its stop, and may go on.
    bool Stopped() const { return stopped_; }

private:
    static constexpr long long RestartNodes = 2000;
    static constexpr long long MostNodes = 1LL << 16;
    static constexpr long long ListPerNode = 64;
    // The bars of one piece more get more, each relaxation counting as so
    // many nodes.
    static constexpr long long MostLongerNodes = 1LL << 23;
    static constexpr long long RelaxationNodes = 500;
    // Bars of one piece more in the first round.
    static constexpr size_t FirstRound = 64;
    // The exact search settles what was set aside within this time, and
    // counts as so many nodes.
    static constexpr long long ResidualBudget = WorkOf(std::chrono::milliseconds(2));
    // Steps of work a node: not measured apart from the searches and the
    // relaxation it calls, which count their own.
    static constexpr long long NodeWork = 200;
    static constexpr long long ResidualNodes = 1000;

    // Tries the bars of one piece more in rounds: each round takes twice as
    // many of them as the one before, and searches what each leaves with
    // twice the nodes, until one succeeds or every one is ruled out. The
    // linear relaxation rules out most of them before any search.
    Packing RunLonger(bool& exhausted);
    Packing Interrupted(size_t k) {
        next_ = k;
        stopped_ = true;
        return {};
    }

    long long Waste(int b) const { return list_.Waste(static_cast<size_t>(b)); }
    int Pieces(int b) const { return list_.Pieces(static_cast<size_t>(b)); }
    long long Excess() const {
        return pieces_ + reservedPieces_ - static_cast<long long>(fewest_) * barsLeft_;
    }

    void Block(int b) {
        if (blocked_[static_cast<size_t>(b)]++ == 0)
            for (const auto* it = list_.Begin(static_cast<size_t>(b));
                 it != list_.End(static_cast<size_t>(b)); ++it)
                --alive_[static_cast<size_t>(it->type)];
    }
    void Unblock(int b) {
        if (--blocked_[static_cast<size_t>(b)] == 0)
            for (const auto* it = list_.Begin(static_cast<size_t>(b));
                 it != list_.End(static_cast<size_t>(b)); ++it)
                ++alive_[static_cast<size_t>(it->type)];
    }

    // `rem[t]` goes from `from` to `to`: bars that hold more than the lower
    // of the two and no more than the higher go or come back.
    void Count(size_t t, int from, int to) {
        rem_[t] = to;
        if (from > 0 && to == 0) {
            const size_t last = open_.back();
            open_[openAt_[t]] = last;
            openAt_[last] = openAt_[t];
            open_.pop_back();
        } else if (from == 0 && to > 0) {
            openAt_[t] = open_.size();
            open_.push_back(t);
        }
        for (const auto& [b, count] : bySize_[t])
            if (count > std::min(from, to) && count <= std::max(from, to)) {
                if (to < from)
                    Block(b);
                else
                    Unblock(b);
            }
    }

    // The slack goes from `from` to `to`, likewise.
    void Slack(long long from, long long to) {
        slack_ = to;
        const long long high = std::max(from, to), low = std::min(from, to);
        auto first = std::partition_point(byWaste_.begin(), byWaste_.end(),
                                          [&](int b) { return Waste(b) > high; });
        for (; first != byWaste_.end() && Waste(*first) > low; ++first)
            if (to < from)
                Block(*first);
            else
                Unblock(*first);
    }

    // Takes bar `b` of `list` (`by` = 1) or puts it back (`by` = -1).
    void Use(const BarList& list, size_t b, int by) {
        for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
            const auto t = static_cast<size_t>(it->type);
            Count(t, rem_[t], rem_[t] - by * it->count);
            // Long lists make a step costly: the budget counts their length.
            nodes_ += static_cast<long long>(bySize_[t].size()) / ListPerNode;
        }
        pieces_ -= by * list.Pieces(b);
        barsLeft_ -= by;
        Slack(slack_, slack_ - by * list.Waste(b));
    }
    void Take(int b) {
        Use(list_, static_cast<size_t>(b), 1);
        chosen_.push_back(b);
    }
    void Put(int b) {
        chosen_.pop_back();
        Use(list_, static_cast<size_t>(b), -1);
    }

    // Sets one piece of size `t` aside for a bar of more pieces, or (`by` =
    // -1) takes it back.
    void Reserve(size_t t, int by) {
        Count(t, rem_[t], rem_[t] - by);
        reserved_[t] += by;
        pieces_ -= by;
        reservedPieces_ += by;
        reservedLength_ += static_cast<long long>(by) * in_.size[t];
    }

    bool Node() {
        if ((nodes_ & 255) == 0)
            stop_->Spend(256 * NodeWork);
        if (++nodes_ > nodeLimit_ || ((nodes_ & 255) == 0 && stop_->Now()))
            timedOut_ = true;
        if (timedOut_)
            return false;
        if (pieces_ == 0)
            return reservedPieces_ == 0 || Residual();
        if (barsLeft_ == 0)
            return false;
        size_t best = m_;
        long long orphans = 0;
        for (const size_t t : open_) {
            if (alive_[t] == 0)
                orphans += static_cast<long long>(rem_[t]) * in_.size[t];
            else if (best == m_ || alive_[t] < alive_[best] ||
                     (alive_[t] == alive_[best] && t < best))
                best = t;
        }
        // Every bar of more than `fewest` pieces takes one or more of the
        // excess: so many bars at most take what is set aside.
        const long long longer = Excess();
        if (reservedLength_ + orphans > longer * in_.capacity)
            return false;
        if (best == m_)
            return Residual();
        // The options of every node on the path share one stack: a node
        // costs well under a microsecond, an allocation would be a good
        // part of that.
        const size_t base = options_.size();
        for (const auto& [b, count] : bySize_[best])
            if (blocked_[static_cast<size_t>(b)] == 0)
                options_.push_back(b);
        const auto first = options_.begin() + static_cast<std::ptrdiff_t>(base);
        if (shuffle_)
            std::shuffle(first, options_.end(), rng_);
        else if (!level_.empty())
            std::stable_sort(first, options_.end(), [this](int a, int b) {
                return level_[static_cast<size_t>(a)] > level_[static_cast<size_t>(b)];
            });
        const size_t count = options_.size() - base;
        size_t tried = 0;
        bool found = false;
        for (size_t k = 0; k < count; ++k) {
            const int b = options_[base + k];
            Take(b);
            found = Node();
            if (found)
                break;
            Put(b);
            Block(b);
            ++tried;
            if (timedOut_)
                break;
        }
        for (size_t k = 0; k < tried; ++k)
            Unblock(options_[base + k]);
        options_.resize(base);
        if (!found && !timedOut_ &&
            reservedLength_ + orphans + in_.size[best] <= longer * in_.capacity) {
            Reserve(best, 1);
            found = Node();
            if (!found)
                Reserve(best, -1);
        }
        return found;
    }

    // The pieces left and set aside into the bars left, by the exact search.
    bool Residual() {
        nodes_ += ResidualNodes;
        std::vector<int> left(m_);
        for (size_t t = 0; t < m_; ++t)
            left[t] = rem_[t] + reserved_[t];
        const Remainder rest = RemainderOf(in_, left);
        bool exhausted = false;
        const Packing packing =
            SearchPacking(rest.in, barsLeft_, stop_->Within(ResidualBudget), exhausted);
        if (packing.empty()) {
            proof_ = proof_ && exhausted;
            return false;
        }
        residual_.clear();
        for (const Bar& bar : packing) {
            Bar full(m_, 0);
            for (size_t k = 0; k < rest.type.size(); ++k)
                full[rest.type[k]] = bar[k];
            residual_.push_back(std::move(full));
        }
        return true;
    }

    Bar Content(const BarList& list, size_t b) const {
        Bar bar(m_, 0);
        for (const auto* it = list.Begin(b); it != list.End(b); ++it)
            bar[static_cast<size_t>(it->type)] = it->count;
        return bar;
    }

    Packing Result() const {
        Packing packing;
        for (int b : chosen_)
            packing.push_back(Content(list_, static_cast<size_t>(b)));
        // Filled only by the residual search that completed the packing.
        packing.insert(packing.end(), residual_.begin(), residual_.end());
        return packing;
    }

    const Instance& in_;
    const BarList& list_;
    size_t m_;
    const Stop* stop_ = nullptr; // of the run going on
    int fewest_;                 // pieces of every listed bar, the fewest any bar holds
    std::vector<int> rem_;
    std::vector<int> reserved_;
    std::vector<size_t> open_;   // the sizes still needed, in no order
    std::vector<size_t> openAt_; // where each of them is in open_
    std::vector<int> alive_;     // bars still possible that hold each size
    std::vector<int> blocked_;   // reasons each bar is not possible
    std::vector<std::vector<std::pair<int, int>>> bySize_; // (bar, count) per size
    std::vector<int> byWaste_;                             // most free length first
    std::vector<int> chosen_;
    std::vector<int> options_;  // of every node on the path, the deepest last
    std::vector<double> level_; // of each listed bar in the relaxation, when asked
    Packing residual_;
    long long pieces_ = 0;
    long long reservedPieces_ = 0, reservedLength_ = 0;
    int barsLeft_;
    long long slack_;
    long long nodes_ = 0, nodeLimit_ = 0;
    bool timedOut_ = false;
    bool proof_ = true; // every packing of what was set aside was ruled out
    bool shuffle_ = false;
    bool stopped_ = false;
    bool pathChosen_ = false, longerPath_ = false;
    int restart_ = 1;
    // The bars of one piece more, their order, and how far the rounds got.
    enum : char { Open, Relaxed, Out };
    BarList longer_;
    std::vector<size_t> order_;
    std::vector<char> verdict_; // of each of them
    std::unique_ptr<CoverLp> lp_;
    size_t round_ = 0, next_ = 0;
    bool proofLonger_ = true;
    std::mt19937 rng_{12345u};
};

} // namespace cutting::detail
