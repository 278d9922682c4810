#pragma once

// Depth-first rounding of the pattern relaxation (diving with limited
// discrepancy), for a packing into no more bars than a target.

#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/pattern_lp.h"

namespace cutting::detail {

// One dive into `lp`, the relaxation of `in`: the fewest bars found, whether
// or not they meet `target`. Dives after the first (`attempt` above 0) weigh
// the bars the relaxation uses at random, so that they take other ways down.
Packing DiveInto(const Instance& in, PatternLp& lp, int target, const Stop& stop, unsigned attempt,
                 const Parameters::Dive& parameters);

} // namespace cutting::detail
