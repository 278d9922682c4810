#include "cover.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace cutting::detail {

namespace {

// The list of bars is given up beyond this many bars, or this many steps of
// listing them: a few megabytes and a few tens of milliseconds.
constexpr size_t MostBars = size_t{1} << 17;
constexpr long long MostSteps = 1LL << 22;
// The search is tried when at most this many pieces are left over once every
// bar holds the fewest pieces any bar can (see Cover).
constexpr long long MostExcess = 2;

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
class Cover {
public:
    Cover(const Instance& in, const BarList& list, int bars, long long slack, int fewest,
          const Stop& stop)
        : in_(in), list_(list), m_(in.size.size()), stop_(stop), fewest_(fewest), rem_(in.demand),
          reserved_(m_, 0), alive_(m_, 0), blocked_(list.Size(), 0), bySize_(m_), barsLeft_(bars),
          slack_(slack) {
        for (size_t b = 0; b < list.Size(); ++b)
            for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
                bySize_[static_cast<size_t>(it->type)].push_back({static_cast<int>(b), it->count});
                ++alive_[static_cast<size_t>(it->type)];
            }
        pieces_ = in.Pieces();
        byWaste_.resize(list.Size());
        std::iota(byWaste_.begin(), byWaste_.end(), 0);
        std::stable_sort(byWaste_.begin(), byWaste_.end(),
                         [&](int a, int b) { return Waste(a) > Waste(b); });
    }

    // `exhausted` as for CoverPacking.
    Packing Run(bool& exhausted) {
        exhausted = false;
        if (Excess() == 1) {
            BarList longer;
            long long steps = MostSteps;
            if (longer.AddLevel(in_, slack_, fewest_ + 1, MostBars, steps))
                return RunLonger(longer, exhausted);
        }
        // Restarts with a growing budget of nodes and, after the first, the
        // bars of each step in random order: a search that went wrong early
        // rarely recovers by backtracking, a fresh start often does. Where
        // it finds nothing soon, many packings nearly meet the bound and the
        // other searches do better.
        for (int restart = 1; nodes_ < MostNodes; ++restart) {
            timedOut_ = false;
            nodeLimit_ = nodes_ + RestartNodes * Luby(restart);
            proof_ = true;
            if (Node()) {
                exhausted = true;
                return Result();
            }
            if (!timedOut_) {
                exhausted = proof_;
                return {};
            }
            if (stop_.Now())
                return {};
            shuffle_ = true;
        }
        return {};
    }

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
    Packing RunLonger(const BarList& longer, bool& exhausted) {
        std::vector<double> score(longer.Size(), 0.0);
        for (size_t b = 0; b < longer.Size(); ++b)
            for (const auto* it = longer.Begin(b); it != longer.End(b); ++it)
                score[b] += it->count / (1.0 + alive_[static_cast<size_t>(it->type)]);
        std::vector<size_t> order(longer.Size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return score[a] > score[b]; });
        CoverLp lp(list_, m_);
        enum : char { Open, Relaxed, Out };
        std::vector<char> state(longer.Size(), Open);
        bool proof = true;
        for (size_t round = 0;; ++round) {
            const size_t taken = std::min(order.size(), FirstRound << std::min<size_t>(round, 40));
            const long long nodes = RestartNodes << std::min<size_t>(round, 20);
            bool open = false;
            if (nodes_ >= MostLongerNodes)
                return {};
            for (size_t k = 0; k < order.size(); ++k) {
                const size_t b = order[k];
                if (state[b] == Out)
                    continue;
                open = true;
                if (k >= taken)
                    break;
                if (stop_.Now())
                    return {};
                Use(longer, b, 1);
                bool found = false;
                nodes_ += RelaxationNodes;
                if (!lp.MayCover(rem_, blocked_, stop_, level_)) {
                    state[b] = Out;
                    proof = false; // floating point, not a proof
                } else if (!stop_.Now()) {
                    state[b] = Relaxed;
                    timedOut_ = false;
                    proof_ = true;
                    nodeLimit_ = nodes_ + nodes;
                    found = Node();
                    if (!found && !timedOut_) {
                        state[b] = Out;
                        proof = proof && proof_;
                    }
                }
                if (found) {
                    Packing packing = Result();
                    packing.push_back(Content(longer, b));
                    exhausted = true;
                    return packing;
                }
                Use(longer, b, -1);
            }
            if (!open) {
                exhausted = proof;
                return {};
            }
        }
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
            stop_.Spend(256 * NodeWork);
        if (++nodes_ > nodeLimit_ || ((nodes_ & 255) == 0 && stop_.Now()))
            timedOut_ = true;
        if (timedOut_)
            return false;
        if (pieces_ == 0)
            return reservedPieces_ == 0 || Residual();
        if (barsLeft_ == 0)
            return false;
        size_t best = m_;
        long long orphans = 0;
        for (size_t t = 0; t < m_; ++t) {
            if (rem_[t] == 0)
                continue;
            if (alive_[t] == 0)
                orphans += static_cast<long long>(rem_[t]) * in_.size[t];
            else if (best == m_ || alive_[t] < alive_[best])
                best = t;
        }
        // Every bar of more than `fewest` pieces takes one or more of the
        // excess: so many bars at most take what is set aside.
        const long long longer = Excess();
        if (reservedLength_ + orphans > longer * in_.capacity)
            return false;
        if (best == m_)
            return Residual();
        std::vector<int> options;
        for (const auto& [b, count] : bySize_[best])
            if (blocked_[static_cast<size_t>(b)] == 0)
                options.push_back(b);
        if (shuffle_)
            std::shuffle(options.begin(), options.end(), rng_);
        else if (!level_.empty())
            std::stable_sort(options.begin(), options.end(), [this](int a, int b) {
                return level_[static_cast<size_t>(a)] > level_[static_cast<size_t>(b)];
            });
        size_t tried = 0;
        bool found = false;
        for (int b : options) {
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
            Unblock(options[k]);
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
            SearchPacking(rest.in, barsLeft_, stop_.Within(ResidualBudget), exhausted);
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
    const Stop& stop_;
    int fewest_; // pieces of every listed bar, the fewest any bar holds
    std::vector<int> rem_;
    std::vector<int> reserved_;
    std::vector<int> alive_;   // bars still possible that hold each size
    std::vector<int> blocked_; // reasons each bar is not possible
    std::vector<std::vector<std::pair<int, int>>> bySize_; // (bar, count) per size
    std::vector<int> byWaste_;                             // most free length first
    std::vector<int> chosen_;
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
    std::mt19937 rng_{12345u};
};

} // namespace

Packing CoverPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted) {
    exhausted = false;
    const long long slack = static_cast<long long>(bars) * in.capacity - in.TotalSize();
    if (bars <= 0 || slack < 0) {
        exhausted = true;
        return {};
    }
    // With room for a whole bar to spare, fewer bars would do: not a packing
    // of nearly full bars.
    if (slack >= in.capacity)
        return {};
    // No bar holds more pieces than the shortest ones that fit.
    int most = 0;
    long long room = in.capacity;
    for (size_t t = in.size.size(); t-- > 0;)
        for (int k = 0; k < in.demand[t] && room >= in.size[t]; ++k) {
            room -= in.size[t];
            ++most;
        }
    // The bars of the fewest pieces that fill a bar to within the slack.
    BarList list;
    int fewest = 0;
    long long steps = MostSteps;
    for (int pieces = 1; pieces <= most && fewest == 0; ++pieces) {
        if (stop.Now() || !list.AddLevel(in, slack, pieces, MostBars, steps))
            return {};
        if (list.Size() > 0)
            fewest = pieces;
    }
    const long long excess = in.Pieces() - static_cast<long long>(fewest) * bars;
    if (fewest == 0 || excess < 0) {
        exhausted = true; // the bars cannot all be filled closely enough
        return {};
    }
    // Many pieces beyond the fewest leave most of the work to bars that are
    // not on the list: the other searches do that better.
    if (excess > MostExcess)
        return {};
    Cover cover(in, list, bars, slack, fewest, stop);
    return cover.Run(exhausted);
}

} // namespace cutting::detail
