#pragma once

// Lower bounds on the bars of one stock length that take no search.

#include "optimize/instance/instance.h"

namespace cutting::detail {

int BoundBySize(const Instance& in);       // ceil(total / capacity)
int BoundMartelloToth(const Instance& in); // the L2 bound

} // namespace cutting::detail
