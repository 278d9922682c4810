#pragma once

// Pricing a bar of one length for the pattern relaxation.

#include "pricing.h"
#include "suffix_knapsack.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <limits>
#include <vector>

namespace cutting::detail {

constexpr long long NoBound = std::numeric_limits<long long>::max();
// The tables of the pricing take megabytes; kept from call to call, they are
// not handed back to the system and faulted in again each time.
struct PricingScratch {
    SuffixKnapsack coarse; // bounds of the branch and bound
    Pricing table;         // the table over every length
};
// The most valuable bar of one length: at most limit[i] pieces of size i,
// each worth value[i], a whole number (safe_bound.h). Appends to `found` bars
// worth more than `wanted` met on the way, the most valuable last. Returns an
// upper bound on the worth of every bar, NoBound when stopped first. A short
// bar goes through the table over every length of pricing.h; a long one
// through a branch and bound over the sizes by worth per millimetre, bounded
// by a coarse table. The bound is the worth of the best bar when `exact` (the
// table settles what the branch and bound leaves open, unless it would exceed
// 1e8 entries); otherwise it may be a little above it, when many bars are
// nearly as good as the best.
long long PriceBar(const Instance& in, const std::vector<long long>& value,
                   const std::vector<int>& limit, long long wanted, std::vector<Bar>& found,
                   const Stop& stop, bool exact = true, PricingScratch* scratch = nullptr);

} // namespace cutting::detail
