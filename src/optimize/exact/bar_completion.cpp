#include "bar_completion.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <unordered_set>
#include <vector>

namespace cutting::detail {

namespace {

// Depth-first bar completion: each bar is built around the longest piece
// left, only bars that no remaining piece still fits into are closed, and the
// free length of all closed bars together may not exceed the slack of the
// target. Remainders that are known to fail are remembered.
class BarCompletion {
public:
    BarCompletion(const Instance& in, const Stop& stop, bool repair)
        : in_(in), m_(in.size.size()), stop_(stop), rem_(in.demand), suffix_(m_ + 1, 0),
          repair_(repair) {
        remSize_ = in.TotalSize();
    }

    // Restarts with a growing budget of steps and, after the first, a random
    // order of the first piece added to each bar: a search that went wrong
    // early rarely recovers by backtracking, a fresh start often does.
    SparsePacking Run(int bars, bool& exhausted) {
        SparsePacking result;
        exhausted = false;
        for (int restart = 1; result.empty(); ++restart) {
            timedOut_ = false;
            nodeLimit_ = nodes_ + 4000 * Luby(restart);
            if (Solve(bars)) {
                result = packing_;
                exhausted = true;
            } else if (!timedOut_) {
                exhausted = true;
                break;
            } else if (stop_.Now()) {
                break;
            } else if (repair_ && static_cast<long long>(bars) * static_cast<long long>(m_) <=
                                      MostRepairCells) {
                result = Repair(bars);
                if (!result.empty())
                    exhausted = true;
            }
            shuffle_ = true;
        }
        return result;
    }

private:
    // The deepest partial packing seen is usually only a few bars short.
    // Rather than backtracking, take a few of its bars apart and pack their
    // pieces together with the ones left over into as many bars plus the
    // missing ones; a small search settles each such attempt quickly. When it
    // fails but still closes as many bars as were taken apart, or more, the
    // next attempts start from there: other pieces are left over then, and
    // they may fit where the old ones did not.
    SparsePacking Repair(int bars) {
        // Attempts count from the last one that got deeper, up to a limit in all.
        for (int attempt = 0, all = 0;
             attempt < Attempts && all < MostAttempts && !deepest_.empty() && !stop_.Now();
             ++attempt, ++all) {
            Bar left = in_.demand;
            for (const SparseBar& bar : deepest_)
                for (const auto& [type, count] : bar)
                    left[static_cast<size_t>(type)] -= count;
            const int missing = bars - static_cast<int>(deepest_.size());
            const int opened =
                std::min(static_cast<int>(deepest_.size()),
                         std::uniform_int_distribution<int>(RepairLo, RepairHi)(rng_));
            std::vector<size_t> chosen(deepest_.size());
            for (size_t b = 0; b < chosen.size(); ++b)
                chosen[b] = b;
            std::shuffle(chosen.begin(), chosen.end(), rng_);
            chosen.resize(static_cast<size_t>(opened));
            Bar pool = left;
            for (size_t b : chosen)
                for (const auto& [type, count] : deepest_[b])
                    pool[static_cast<size_t>(type)] += count;
            const Remainder part = RemainderOf(in_, pool);
            BarCompletion small(part.in, stop_.Within(Budget), false);
            small.nodeLimit_ = RepairSteps;
            small.shuffle_ = true;
            const bool solved = small.Solve(opened + missing);
            const SparsePacking& closed = solved ? small.packing_ : small.deepest_;
            if (static_cast<int>(closed.size()) < opened)
                continue;
            SparsePacking result;
            for (size_t b = 0; b < deepest_.size(); ++b)
                if (std::find(chosen.begin(), chosen.end(), b) == chosen.end())
                    result.push_back(deepest_[b]);
            for (const SparseBar& bar : closed) {
                SparseBar full;
                for (const auto& [k, count] : bar)
                    full.push_back({static_cast<int>(part.type[static_cast<size_t>(k)]), count});
                result.push_back(std::move(full));
            }
            if (solved)
                return result;
            if (result.size() > deepest_.size())
                attempt = -1;
            deepest_ = std::move(result);
            common_ = 0;
        }
        return {};
    }

    // Found by trial on triplet instances: a dozen bars opened at a time, a
    // small step budget each, many attempts.
    static constexpr int RepairLo = 8;
    static constexpr int RepairHi = 16;
    static constexpr int Attempts = 40;
    static constexpr int MostAttempts = 200;
    static constexpr long long RepairSteps = 5000;
    static constexpr long long Budget = WorkOf(std::chrono::milliseconds(20));
    // Steps of work of a node of the search and of a step of counting the
    // ways to fill a bar, and the most steps of counting for one piece.
    static constexpr long long NodeWork = 20;
    static constexpr long long CountWork = 23;
    static constexpr long long CountSteps = 20000;
    // Each attempt handles every count of every bar: with thousands of
    // sizes on thousands of bars one attempt would take longer than a plan.
    static constexpr long long MostRepairCells = 1LL << 24;

    bool Solve(int bars) {
        KeepDeepest();
        if (remSize_ == 0)
            return true;
        if (bars == 0 || timedOut_)
            return false;
        // Weighing the candidates below may take many steps outside Extend().
        if (stop_.Now()) {
            timedOut_ = true;
            return false;
        }
        const long long slack = static_cast<long long>(bars) * in_.capacity - remSize_;
        if (slack < 0)
            return false;
        State key = StateKey(bars);
        if (failed_.count(key) != 0)
            return false;
        for (size_t j = m_; j-- > 0;)
            suffix_[j] = suffix_[j + 1] + static_cast<long long>(in_.size[j]) * rem_[j];
        Level level{slack, std::vector<long long>(suffix_), 0};
        size_t last = m_;
        while (rem_[--last] == 0) {
        }
        level.smallest = in_.size[last];
        size_t centre = 0;
        while (rem_[centre] == 0)
            ++centre;
        // Nearly every bar must be full: the next bar is built around the
        // piece that has the fewest ways to fill one, and the search gives up
        // at once when some piece has none.
        if (slack < level.smallest && !FewestWays(level, centre)) {
            Remember(std::move(key));
            return false;
        }
        std::vector<size_t> bar{centre};
        Take(centre);
        const bool ok = Extend(bar, 0, in_.capacity - in_.size[centre], bars, level);
        Put(centre);
        if (!ok && !timedOut_)
            Remember(std::move(key));
        return ok;
    }

    // Keeps the deepest packing met. Only the bars past the part still shared
    // are copied: copying the whole packing at each new depth would cost its
    // square.
    void KeepDeepest() {
        if (packing_.size() <= deepest_.size())
            return;
        deepest_.resize(common_);
        deepest_.insert(deepest_.end(), packing_.begin() + static_cast<std::ptrdiff_t>(common_),
                        packing_.end());
        common_ = packing_.size();
    }

    static constexpr std::ptrdiff_t Candidates = 16;

    struct Level {
        long long slack;
        std::vector<long long> suffix; // sizes of the pieces left from a size on
        int smallest;                  // shortest piece left
    };

    // Sets `centre` to the piece with the fewest ways to fill a bar around
    // it; false when some piece has none. The longest and the shortest pieces
    // are the hard ones to place; weighing every size costs more than it
    // saves.
    bool FewestWays(const Level& level, size_t& centre) {
        long long fewest = -1;
        std::vector<size_t> cand;
        for (size_t t = 0; t < m_; ++t)
            if (rem_[t] > 0)
                cand.push_back(t);
        if (cand.size() > 2 * Candidates)
            cand.erase(cand.begin() + Candidates, cand.end() - Candidates);
        for (size_t t : cand) {
            Take(t);
            long long budget = CountSteps;
            const long long ways =
                Count(0, in_.capacity - in_.size[t], level, fewest < 0 ? 64 : fewest, budget);
            stop_.Spend((CountSteps - std::max(budget, 0LL)) * CountWork);
            Put(t);
            if (ways == 0)
                return false;
            if (fewest < 0 || ways < fewest)
                fewest = ways, centre = t;
            if (fewest == 1)
                break;
        }
        return true;
    }

    // First size not longer than `length`, searching from `from`.
    size_t FirstAtMost(size_t from, long long length) const {
        size_t lo = from, hi = m_;
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (in_.size[mid] <= length)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    }

    // The next size from `t` on worth adding to a bar with `space` left: it
    // either leaves the bar within the slack or leaves room for another piece.
    size_t NextCandidate(size_t t, int space, const Level& level) const {
        t = std::max(t, FirstAtMost(t, space));
        if (t < m_ && space - in_.size[t] > level.slack && space - in_.size[t] < level.smallest)
            t = FirstAtMost(t, space - level.smallest);
        return t;
    }

    // How many bars around a piece already taken could be closed within the
    // slack, counting no further than `cap`; gives up (answering `cap`) when
    // the budget of steps runs out.
    long long Count(size_t from, int space, const Level& level, long long cap, long long& budget) {
        if (--budget < 0)
            return cap;
        long long ways = space <= level.slack ? 1 : 0;
        for (size_t t = NextCandidate(from, space, level); t < m_ && ways < cap;
             t = NextCandidate(t + 1, space, level)) {
            if (rem_[t] == 0)
                continue;
            Take(t);
            ways += Count(t, space - in_.size[t], level, cap - ways, budget);
            Put(t);
        }
        return std::min(ways, cap);
    }

    // `bar` holds the sizes of the pieces on the bar so far, one entry each.
    bool Extend(std::vector<size_t>& bar, size_t from, int space, int bars, const Level& level) {
        if ((nodes_ & 1023) == 0)
            stop_.Spend(1024 * NodeWork);
        if (++nodes_ > nodeLimit_ || ((nodes_ & 1023) == 0 && stop_.Now()))
            timedOut_ = true;
        if (timedOut_)
            return false;
        // Even every piece still available from here on cannot fill the bar
        // closely enough.
        if (space - level.suffix[from] > level.slack)
            return false;
        std::vector<size_t> order;
        for (size_t t = NextCandidate(from, space, level); t < m_;
             t = NextCandidate(t + 1, space, level))
            if (rem_[t] > 0)
                order.push_back(t);
        if (shuffle_ && from == 0)
            std::shuffle(order.begin(), order.end(), rng_);
        for (size_t t : order) {
            bar.push_back(t);
            Take(t);
            const bool ok = Extend(bar, t, space - in_.size[t], bars, level);
            Put(t);
            bar.pop_back();
            if (ok)
                return true;
            if (timedOut_)
                return false;
        }
        // A bar that still has room for a remaining piece is never better than
        // the same bar with that piece in it.
        if (space > level.slack)
            return false;
        for (size_t t = FirstAtMost(0, space); t < m_; ++t)
            if (rem_[t] > 0)
                return false;
        packing_.push_back(Compact(bar));
        if (Solve(bars - 1))
            return true;
        packing_.pop_back();
        common_ = std::min(common_, packing_.size());
        return false;
    }

    static SparseBar Compact(std::vector<size_t> sizes) {
        std::sort(sizes.begin(), sizes.end());
        SparseBar bar;
        for (size_t t : sizes)
            if (!bar.empty() && bar.back().first == static_cast<int>(t))
                ++bar.back().second;
            else
                bar.push_back({static_cast<int>(t), 1});
        return bar;
    }

    void Take(size_t t) {
        --rem_[t];
        remSize_ -= in_.size[t];
    }
    void Put(size_t t) {
        ++rem_[t];
        remSize_ += in_.size[t];
    }

    // A state that failed is remembered whole, the bars left and every count
    // left: a hash alone may stand for two states, and taking a feasible state
    // for a failed one would let an exhausted search prove a false bound.
    using State = std::vector<int>;

    State StateKey(int bars) const {
        State key;
        key.reserve(m_ + 1);
        key.push_back(bars);
        key.insert(key.end(), rem_.begin(), rem_.end());
        return key;
    }

    // Forgetting a failure costs only time, so the memory stops growing at a
    // limit (a few tens of megabytes) for problems with thousands of sizes.
    void Remember(State key) {
        if (remembered_ + key.size() > MostRemembered)
            return;
        remembered_ += key.size();
        failed_.insert(std::move(key));
    }
    static constexpr size_t MostRemembered = size_t{8} << 20;

    const Instance& in_;
    size_t m_;
    Stop stop_;
    std::vector<int> rem_;
    std::vector<long long> suffix_;
    long long remSize_ = 0;
    SparsePacking packing_;
    SparsePacking deepest_;
    size_t common_ = 0; // leading bars of packing_ that deepest_ shares
    bool repair_ = false;
    std::unordered_set<State, CountsHash> failed_;
    size_t remembered_ = 0;
    long long nodes_ = 0;
    long long nodeLimit_ = 0;
    bool shuffle_ = false;
    std::mt19937 rng_{12345u};
    bool timedOut_ = false;
};

} // namespace

SparsePacking SearchSparse(const Instance& in, int bars, const Stop& stop, bool& exhausted) {
    BarCompletion search(in, stop, true);
    return search.Run(bars, exhausted);
}

Packing SearchPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted) {
    return Dense(SearchSparse(in, bars, stop, exhausted), in.size.size());
}

} // namespace cutting::detail
