#pragma once

#include "solution.h"

#include <vector>

namespace cutting::detail {

// The sums of whole bars of the stock lengths, counts set aside: the smallest
// of each remainder modulo the shortest length (shortest paths over the
// remainders), from which every sum follows by adding shortest bars.
class StockSums {
public:
    explicit StockSums(const MixedProblem& p);

    // The smallest sum at least `bound`.
    long long AtLeast(long long bound) const;
    // The largest sum below `cost`, or -1.
    long long Below(long long cost) const;

private:
    std::vector<long long> costs_;
    long long step_ = 1;
    std::vector<long long> least_;
};

} // namespace cutting::detail
