#include "stock_sums.h"

#include "solution.h"

#include "optimize/instance/instance.h"

#include <algorithm>
#include <limits>
#include <queue>

namespace cutting::detail {

StockSums::StockSums(const MixedProblem& p) {
    for (const Kind& kind : p.kinds)
        if (kind.cost > 0)
            costs_.push_back(kind.cost);
    if (costs_.empty())
        return;
    step_ = *std::min_element(costs_.begin(), costs_.end());
    least_.assign(static_cast<size_t>(step_), std::numeric_limits<long long>::max());
    using Node = std::pair<long long, long long>;
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    least_[0] = 0;
    queue.push({0, 0});
    while (!queue.empty()) {
        const auto [sum, r] = queue.top();
        queue.pop();
        if (sum != least_[static_cast<size_t>(r)])
            continue;
        for (long long cost : costs_) {
            const long long next = sum + cost, nr = next % step_;
            if (next < least_[static_cast<size_t>(nr)]) {
                least_[static_cast<size_t>(nr)] = next;
                queue.push({next, nr});
            }
        }
    }
}

long long StockSums::AtLeast(long long bound) const {
    if (bound <= 0 || costs_.empty())
        return 0;
    long long best = std::numeric_limits<long long>::max();
    for (long long s : least_)
        if (s != std::numeric_limits<long long>::max())
            best = std::min(best, s >= bound ? s : s + (bound - s + step_ - 1) / step_ * step_);
    return best;
}

long long StockSums::Below(long long cost) const {
    long long best = -1;
    for (long long s : least_)
        if (s < cost)
            best = std::max(best, s + (cost - 1 - s) / step_ * step_);
    return best;
}

} // namespace cutting::detail
