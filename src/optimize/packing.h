#pragma once

// The solver's own view of a cutting problem: distinct piece sizes (a piece's
// length plus one saw cut), longest first, with how many of each are needed,
// and one bar capacity (usable length plus one saw cut).

#include <chrono>
#include <vector>

namespace cutting::detail {

struct Instance {
    int capacity = 0;
    std::vector<int> size;   // strictly decreasing
    std::vector<int> demand; // >= 1 each

    int types() const { return static_cast<int>(size.size()); }
    long long totalSize() const;
    int pieces() const;
};

// A bar's content: how many pieces of each size it holds.
using Bar = std::vector<int>;
using Packing = std::vector<Bar>;

using Clock = std::chrono::steady_clock;

// --- bounds -----------------------------------------------------------------
int BoundBySize(const Instance& in);       // ceil(total / capacity)
int BoundMartelloToth(const Instance& in); // the L2 bound

// --- heuristics ---------------------------------------------------------------
Packing FirstFitDecreasing(const Instance& in);
Packing BestFitDecreasing(const Instance& in);
// Fills bar after bar as fully as possible, each with the longest piece left,
// choosing at random among equally good fills; keeps the best of `rounds`.
Packing FullestFill(const Instance& in, int rounds, unsigned seed, Clock::time_point deadline);

// --- exact search -------------------------------------------------------------
// Looks for a packing into at most `bars` bars; returns an empty packing when
// none exists or the deadline passed first (`exhausted` tells which).
Packing SearchPacking(const Instance& in, int bars, Clock::time_point deadline, bool& exhausted);

// --- linear relaxation ----------------------------------------------------------
struct Relaxation {
    double value = 0.0; // optimum of the relaxation, when `solved`
    int bound = 0;      // best lower bound it proved (0 when none)
    bool solved = false;
    Packing packing; // its rounding, when asked for and finished in time
};
// Column generation for the relaxation of the problem; stops early once its
// bound reaches `target`. With `round`, then rounds the relaxation step by step
// into a packing.
Relaxation SolveRelaxation(const Instance& in, int target, bool round, Clock::time_point deadline);

// --- helpers ------------------------------------------------------------------
bool IsValidPacking(const Instance& in, const Packing& packing);
long long BarFill(const Instance& in, const Bar& bar);

} // namespace cutting::detail
