#pragma once

// First and best fit decreasing.

#include "optimize/instance/instance.h"

namespace cutting::detail {

// First and best fit decreasing; the sparse forms take time in proportion to
// the pieces, not to the pieces times the sizes.
SparsePacking FirstFitSparse(const Instance& in);
SparsePacking BestFitSparse(const Instance& in);
Packing FirstFitDecreasing(const Instance& in);
Packing BestFitDecreasing(const Instance& in);

} // namespace cutting::detail
