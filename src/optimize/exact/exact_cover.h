#pragma once

// The depth-first exact cover behind CoverSearch (cover_search.h), which
// lists the bars it covers with (bar_list.h) and decides whether it is worth
// trying.

#include "bar_list.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <memory>
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

    ExactCover(const Instance& in, const BarList& list, int bars, long long slack, int fewest);

    // `exhausted` as for CoverPacking.
    Packing Run(const Stop& stop, bool& exhausted);

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
    // Orders the bars of one piece more, those whose pieces have the fewest
    // listed bars first, and makes the relaxation that weighs them.
    void OrderLonger();
    // Pushes the listed bars still open that hold size `t`, in the order to
    // try them; where they start on the stack of options.
    size_t PushOptions(size_t t);
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
    void Count(size_t t, int from, int to);

    // The slack goes from `from` to `to`, likewise.
    void Slack(long long from, long long to);

    // Takes bar `b` of `list` (`by` = 1) or puts it back (`by` = -1).
    void Use(const BarList& list, size_t b, int by);
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
    void Reserve(size_t t, int by);

    bool Node();

    // The pieces left and set aside into the bars left, by the exact search.
    bool Residual();

    Bar Content(const BarList& list, size_t b) const;

    Packing Result() const;

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
    bool longerPath_ = false; // exactly one bar holds a piece more, and its list is short enough
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
