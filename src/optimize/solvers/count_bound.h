#pragma once

#include "solution.h"

#include "optimize/lp/safe_bound.h"

#include <vector>

namespace cutting::detail {

// The least cost of bars to buy that is worth enough at the duals of every
// pricing of the relaxation over the kinds: bars of a kind bought n_k times
// are worth at most n_k * price_k, offcuts on hand at most their count times
// their price, and together they must be worth what the pieces are. Whole
// bars of each length often cost more than the relaxation's bound. Searched
// over the counts of each stock length, dearest first, below a cost; all in
// the whole values of safe_bound.h, so the bound is exact.
class CountBound {
public:
    CountBound(const MixedProblem& p, const std::vector<PriceBound>& prices);

    // The least such cost below `cost`; `cost` when none is cheaper, and -1
    // when the search would take too long.
    long long Least(long long cost);

private:
    static constexpr long long MostSteps = 1000000;

    // Chooses how many bars of bought_[k] on; `spent` on the ones before.
    void Search(size_t k, long long spent);
    // The fewest bars of the last kind bought that make up every pricing's
    // shortfall, or -1 when none do.
    long long FewestOfLast(size_t last) const;

    const MixedProblem& p_;
    const std::vector<PriceBound>& prices_;
    std::vector<size_t> bought_;    // kinds that cost something, dearest first
    std::vector<long long> counts_; // bars of each kind: offcuts on hand all
    long long best_ = 0;
    long long steps_ = 0;
};

} // namespace cutting::detail
