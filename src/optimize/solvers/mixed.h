#pragma once

#include "solution.h"

#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"

namespace cutting::detail {

// Several kinds of bar: stock lengths with costs and counts, offcuts on hand.
Solution SolveMixed(const MixedProblem& problem, double timeLimit, const Stop& stop,
                    const Report& report, const Parameters& parameters = {});

} // namespace cutting::detail
