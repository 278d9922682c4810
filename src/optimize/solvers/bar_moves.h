#pragma once

// Moves that make a plan on several kinds of bar cheaper: two bought bars
// whose pieces fit one cheaper bar together become that bar, and a bar
// whose pieces partly move into the room other bars have left goes down to
// a cheaper kind, or goes. The greedy fills and the rounding of the
// relaxation place bars one at a time and leave such savings behind. Only a
// move that lowers the cost is made, so the plan never gets dearer.

#include "mixed_bars.h"
#include "solution.h"

#include "optimize/instance/stop.h"

namespace cutting::detail {

// The plan after every saving move found, in turn; `bars` must be valid.
Assigned CheaperByMoves(const MixedProblem& p, Assigned bars, const Stop& stop);

} // namespace cutting::detail
