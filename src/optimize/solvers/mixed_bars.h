#pragma once

// Bars of several kinds (stock lengths with costs and counts, offcuts on
// hand): what a plan of them costs, whether it is one, and the cheapest kind
// for each bar of a packing.

#include "solution.h"

#include "optimize/instance/instance.h"

#include <limits>

namespace cutting::detail {

// Bars with their kinds, as a plan keeps them.
using Assigned = std::vector<PlannedBar>;

// What a plan costs, in the order plans are compared: bought length, then
// bars bought, then scrap.
struct Score {
    long long cost = std::numeric_limits<long long>::max();
    int bought = 0;      // bars bought
    long long scrap = 0; // leftovers too short to keep

    bool operator<(const Score& o) const {
        return cost != o.cost       ? cost < o.cost
               : bought != o.bought ? bought < o.bought
                                    : scrap < o.scrap;
    }
};

// The length of the pieces of a bar.
long long Fill(const Instance& in, const SparseBar& bar);
Score Scored(const MixedProblem& p, const Assigned& bars);
// Whether `bars` cut every piece once, each bar within its kind and no kind
// beyond its count.
bool Valid(const MixedProblem& p, const Assigned& bars);

// Gives each bar the cheapest kind that holds it and is still to be had
// (`counts`, -1 for any number), fullest bars first (they have the fewest
// kinds to choose from); empty when some bar gets none.
Assigned AssignCheapest(const MixedProblem& p, SparsePacking bars, std::vector<int> counts);

} // namespace cutting::detail
