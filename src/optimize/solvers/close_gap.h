#pragma once

// Closing the gap between the plan and the bound on one stock length: the
// pattern relaxation and dives into it.

#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"

namespace cutting::detail {

// Raises `lowerBound` with the pattern relaxation and looks for a packing
// into fewer bars than `best` by diving into it, replacing `best` when found.
// The relaxation and the dives end with `divesStop`; when the relaxation leaves
// few bars for a packing that meets the bound, the search among them may go
// on until `stop`.
void CloseGap(const Instance& in, SparsePacking& best, int& lowerBound, const Stop& stop,
              const Stop& divesStop, const Parameters::Dive& parameters);

} // namespace cutting::detail
