#pragma once

// Bar completion (the bin completion of the literature): a depth-first search
// that fills one bar at a time around the longest piece left, or, when nearly
// every bar must be full, the piece with the fewest ways to fill one;
// restarted on the Luby schedule, with the states that failed remembered.

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

namespace cutting::detail {

// Looks for a packing into at most `bars` bars; returns an empty packing when
// none exists or it was stopped first (`exhausted` tells which: it is true
// only when the search proved that no such packing exists, or found one).
Packing SearchPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted);
SparsePacking SearchSparse(const Instance& in, int bars, const Stop& stop, bool& exhausted);

} // namespace cutting::detail
