#pragma once

#include "safe_bound.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <vector>

namespace cutting::detail {

// One stock length has the pattern relaxation of pattern_lp.h. Several kinds of
// bar (stock lengths with costs and counts, offcuts on hand) have this one:
// column generation over the kinds; `start` is a packing to begin from (it
// keeps the problem solvable when every kind is limited), its bound is on the
// cost and generation ends once it exceeds `target`. With `round`, it then
// rounds the relaxation step by step into cuts. A failure inside GLPK ends it
// as unsolved, with the bounds proved before.
struct MixedRelaxation {
    double bound = 0.0;             // lower bound on the cost, a whole number
    std::vector<PriceBound> prices; // of the relaxation of the whole demand
    bool solved = false;
    Cuts cuts; // its rounding, when asked for and finished in time
};
MixedRelaxation SolveMixedRelaxation(const Instance& in, const std::vector<Kind>& kinds,
                                     const Cuts& start, double target, bool round,
                                     const Stop& stop);

} // namespace cutting::detail
