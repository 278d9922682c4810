#pragma once

#include "solution.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"

namespace cutting::detail {

// One stock length: every bar costs the same, bars are counted.
Solution SolveSingle(const Instance& in, long long stock, double timeLimit, const Stop& stop,
                     const Report& report, const Parameters& parameters = {});

} // namespace cutting::detail
