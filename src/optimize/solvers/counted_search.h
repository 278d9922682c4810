#pragma once

// A first plan for several kinds of bar when the greedy fills find none.
//
// A piece that fits a kind of any number can always have a bar of that kind
// to itself, so an order can be cut exactly when the pieces too long for
// every such kind (all pieces, when every kind is counted) fit the counted
// bars: offcuts on hand and stock lengths with a count. That is a bin packing
// with bins of several capacities, searched completely here, piece by piece,
// longest first; the counted stock of a workshop's order is small, and a
// packing, when there is one, is found early. The rest of the pieces then go
// on bars of the longest kind of any number.

#include "solution.h"

#include "optimize/instance/stop.h"

namespace cutting::detail {

enum class Verdict {
    Found,      // a plan
    Impossible, // proven: the counted bars cannot hold the pieces only they hold
    Stopped,    // asked to stop, or the search outgrew its budget, before either
};

struct FirstPlan {
    Verdict verdict = Verdict::Stopped;
    std::vector<PlannedBar> bars; // when Found
};

// Only a request to stop or `stop`'s budget of work ends the search, not its
// deadline: without a plan there is nothing to return.
FirstPlan FindFirstPlan(const MixedProblem& problem, const Stop& stop);

} // namespace cutting::detail
