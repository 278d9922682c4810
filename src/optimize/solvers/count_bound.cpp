#include "count_bound.h"

#include "solution.h"

#include "optimize/instance/instance.h"
#include "optimize/lp/safe_bound.h"

#include <algorithm>

namespace cutting::detail {

CountBound::CountBound(const MixedProblem& p, const std::vector<PriceBound>& prices)
    : p_(p), prices_(prices) {
    for (size_t k = 0; k < p.kinds.size(); ++k)
        if (p.kinds[k].cost > 0)
            bought_.push_back(k);
    std::stable_sort(bought_.begin(), bought_.end(),
                     [&](size_t a, size_t b) { return p.kinds[a].cost > p.kinds[b].cost; });
}

long long CountBound::Least(long long cost) {
    best_ = cost;
    steps_ = 0;
    counts_.assign(p_.kinds.size(), 0);
    for (size_t k = 0; k < p_.kinds.size(); ++k)
        if (p_.kinds[k].cost == 0)
            counts_[k] = std::max(p_.kinds[k].count, 0);
    if (bought_.empty() || prices_.empty())
        return -1;
    Search(0, 0);
    return steps_ > MostSteps ? -1 : best_;
}

long long CountBound::FewestOfLast(size_t last) const {
    long long fewest = 0;
    for (const PriceBound& bound : prices_) {
        const long long price = last < bound.wholePrice.size() ? bound.wholePrice[last] : 0;
        const long long n = FewestBars(Shortfall(bound, counts_), price);
        if (n < 0)
            return -1;
        fewest = std::max(fewest, n);
    }
    return fewest;
}

void CountBound::Search(size_t k, long long spent) {
    if (++steps_ > MostSteps)
        return;
    const size_t kind = bought_[k];
    const Kind& bars = p_.kinds[kind];
    if (k + 1 == bought_.size()) {
        const long long fewest = FewestOfLast(kind);
        if (fewest < 0 || (bars.count >= 0 && fewest > bars.count) ||
            fewest >= (best_ - spent + bars.cost - 1) / bars.cost)
            return;
        best_ = spent + fewest * bars.cost;
        return;
    }
    for (long long n = 0; spent + n * bars.cost < best_ && (bars.count < 0 || n <= bars.count);
         ++n) {
        counts_[kind] = n;
        Search(k + 1, spent + n * bars.cost);
        if (steps_ > MostSteps)
            return;
    }
    counts_[kind] = 0;
}

} // namespace cutting::detail
