#pragma once

// The solver's own view of a cutting problem: distinct piece sizes (a piece's
// length plus one saw cut), longest first, with how many of each are needed,
// and one bar capacity (usable length plus one saw cut).

#include "stop.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace cutting::detail {

struct Instance {
    int capacity = 0;
    std::vector<int> size;   // strictly decreasing
    std::vector<int> demand; // >= 1 each

    int Types() const { return static_cast<int>(size.size()); }
    long long TotalSize() const;
    int Pieces() const;
};

// A bar's content: how many pieces of each size it holds.
using Bar = std::vector<int>;
using Packing = std::vector<Bar>;

// A hash of counts (a bar's content, a state of a search), for the sets that
// find repeats among thousands of them.
struct CountsHash {
    size_t operator()(const std::vector<int>& counts) const {
        constexpr std::uint64_t Prime = 1099511628211u;
        std::uint64_t h = 1469598103934665603u;
        for (int v : counts) {
            h ^= static_cast<std::uint32_t>(v);
            h *= Prime;
        }
        return static_cast<size_t>(h);
    }
};

// A bar's content as (size, count) for the sizes it holds, in the order of
// the sizes: what a plan keeps of its bars. With thousands of sizes a count
// for every size would take megabytes for every thousand bars, and the time
// to fill and read them.
using SparseBar = std::vector<std::pair<int, int>>;
using SparsePacking = std::vector<SparseBar>;
SparseBar Sparse(const Bar& bar);
SparsePacking Sparse(const Packing& packing);
Packing Dense(const SparsePacking& packing, size_t types);

// Loops whose steps are cheap look at the clock only this often (a few
// milliseconds of work).
constexpr long long StepsBetweenChecks = 1LL << 22;

// A kind of bar to cut pieces from: a stock length or an offcut on hand.
struct Kind {
    int capacity = 0;   // usable length plus one saw cut
    long long cost = 1; // what a bar of it costs
    int count = -1;     // bars of it to be had, -1 for any number
};
// One bar of a kind and its content.
struct Cut {
    int kind = 0;
    Bar bar;
};
using Cuts = std::vector<Cut>;

// --- bounds -----------------------------------------------------------------
int BoundBySize(const Instance& in);       // ceil(total / capacity)
int BoundMartelloToth(const Instance& in); // the L2 bound
// True when no packing into `bars` bars exists because the pieces longer
// than half a bar, and half of those that fit beside none of them, need every
// bar, and the short pieces cannot then fill the bars around them even in the
// relaxation (anchored.cpp). False when that does not rule them out, or it
// was stopped first.
bool AnchoredBoundRules(const Instance& in, int bars, const Stop& stop);

// --- heuristics ---------------------------------------------------------------
// First and best fit decreasing; the sparse forms take time in proportion to
// the pieces, not to the pieces times the sizes.
SparsePacking FirstFitSparse(const Instance& in);
SparsePacking BestFitSparse(const Instance& in);
Packing FirstFitDecreasing(const Instance& in);
Packing BestFitDecreasing(const Instance& in);
// Fills bar after bar as fully as possible, each with the longest piece left,
// choosing at random among equally good fills; keeps the best of `rounds`.
Packing FullestFill(const Instance& in, int rounds, unsigned seed, const Stop& stop);

// The fullest bar of a capacity from the pieces left: a bounded subset sum
// over whole millimetres with one row, `via[c]` the size that first reached
// the sum c and `copies[c]` how many of it the sum holds; walking back from a
// sum always lands on a sum reached by an earlier size. One row, not one per
// size, keeps thousands of sizes on a long bar within memory; the row is kept
// between bars.
class FullestBar {
public:
    // Adds the bar's pieces to `bar`, taking the sizes in `order` (which
    // decides among equally full bars); false when stopped first.
    bool Find(const Instance& in, const std::vector<int>& rem, int capacity,
              const std::vector<size_t>& order, const Stop& stop, Bar& bar);

private:
    std::vector<std::uint32_t> via_;
    std::vector<int> copies_;
    std::vector<char> reach_;
    long long steps_ = 0;
};

// --- exact search -------------------------------------------------------------
// Looks for a packing into at most `bars` bars; returns an empty packing when
// none exists or it was stopped first (`exhausted` tells which: it is true
// only when the search proved that no such packing exists, or found one).
Packing SearchPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted);
SparsePacking SearchSparse(const Instance& in, int bars, const Stop& stop, bool& exhausted);

// Looks for a packing into exactly `bars` bars when the pieces fill them
// nearly to the end (the free length of all of them together is less than
// one bar): an exact cover by the bars that leave no more free length than
// that. Returns an empty packing when none exists or it was stopped first or
// too many such bars exist; `exhausted` is true only when the search proved
// that no packing into exactly `bars` bars exists, or found one. Passed the
// lower bound, a proof raises it.
Packing CoverPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted);

// The search of CoverPacking, kept so that a run its stop ended can be taken
// up later: it goes on with the step it was stopped in rather than from the
// start. `in` must outlive it.
class CoverSearch {
public:
    CoverSearch(const Instance& in, int bars);
    ~CoverSearch();
    CoverSearch(const CoverSearch&) = delete;
    CoverSearch& operator=(const CoverSearch&) = delete;

    // As CoverPacking. After a run that found a packing, ruled every one out
    // or gave up, another run returns nothing.
    Packing Run(const Stop& stop, bool& exhausted);
    // Whether the last run ended on its stop, and another may go on.
    bool Stopped() const { return stopped_; }
    int Bars() const { return bars_; }

private:
    struct State;
    Packing Go(const Stop& stop, bool& exhausted);

    const Instance& in_;
    int bars_;
    bool stopped_ = false;
    bool settled_ = false;
    std::unique_ptr<State> state_; // a search left to take up
};

// --- linear relaxation ----------------------------------------------------------
// One stock length has the pattern relaxation of colgen.h. Several kinds of
// bar (stock lengths with costs and counts, offcuts on hand) have this one:
// column generation over the kinds; `start` is a packing to begin from (it
// keeps the problem solvable when every kind is limited), its bound is on the
// cost and generation ends once it exceeds `target`. With `round`, it then
// rounds the relaxation step by step into cuts. A failure inside GLPK ends it
// as unsolved, with the bounds proved before.
// What one pricing proves: at the duals it was made for the pieces are worth
// `needed` together and a bar of kind k at most price[k], so the bars of any
// plan, offcuts on hand included, are worth at least `needed` together. The
// proof is in the whole numbers, exact (safe_bound.h); `needed` and `price`
// are the same divided by 2^shift, rounded, for choosing only.
struct PriceBound {
    double needed = 0.0;
    std::vector<double> price;
    long long wholeNeeded = 0;
    std::vector<long long> wholePrice;
    int shift = 0;
};
struct MixedRelaxation {
    double bound = 0.0;             // lower bound on the cost, a whole number
    std::vector<PriceBound> prices; // of the relaxation of the whole demand
    bool solved = false;
    Cuts cuts; // its rounding, when asked for and finished in time
};
MixedRelaxation SolveMixedRelaxation(const Instance& in, const std::vector<Kind>& kinds,
                                     const Cuts& start, double target, bool round,
                                     const Stop& stop);

// Makes every later GLPK call of this thread fail as GLPK does on an internal
// error, so that tests can walk the path that follows.
void FailLinearProgramsForTesting(bool fail);

// --- helpers ------------------------------------------------------------------
bool IsValidPacking(const Instance& in, const Packing& packing);
bool IsValidPacking(const Instance& in, const SparsePacking& packing);
long long BarFill(const Instance& in, const Bar& bar);
// The pieces `left` (a count for each size of `in`) as an instance of their
// own on the same bars, and which size of `in` each of its sizes is.
struct Remainder {
    Instance in;
    std::vector<size_t> type;
};
Remainder RemainderOf(const Instance& in, const std::vector<int>& left);
// The restart schedule of the searches: 1, 1, 2, 1, 1, 2, 4, 1, 1, 2, ...
// (i from 1), so that some restarts are long whatever length would have paid.
long long Luby(int i);

} // namespace cutting::detail
