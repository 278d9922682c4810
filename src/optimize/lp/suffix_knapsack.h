#pragma once

// The most the sizes from each one on are worth within each length: a bounded
// knapsack over the suffixes of a list of sizes, the bound of the searches
// that walk the sizes in order and cut a branch short where even the most
// valuable rest cannot bring it far enough (the pricing's branch and bound,
// the listing of the valued cover). Lengths are counted in units and each
// size rounded down to whole units: with a unit of 1 the table is exact, with
// a larger one it never undervalues a bar, for whatever fits in millimetres
// fits in units too. The pricing over every length with its bar walked back
// is pricing.h.

#include "optimize/instance/stop.h"

#include <vector>

namespace cutting::detail {

class SuffixKnapsack {
public:
    struct Item {
        int size;
        long long worth; // whole values (safe_bound.h)
        int copies;      // at most this many in a bar
    };

    // Fills the table over `items` for lengths up to `capacity` in `unit`s,
    // spending `rowWork` steps of `stop` for each size before it; false
    // when stopped first (`check`), the table then incomplete.
    bool Fill(const std::vector<Item>& items, int capacity, int unit, long long rowWork,
              const Stop& stop, bool check);
    // The most the sizes from `from` on can add to a bar with `room` left.
    long long Bound(size_t from, int room) const {
        return table_[from * cells_ + static_cast<size_t>(room / unit_)];
    }
    size_t Cells() const { return cells_; }

private:
    int unit_ = 1;
    size_t cells_ = 0;
    std::vector<long long> table_; // kept between fills: it takes megabytes
};

} // namespace cutting::detail
