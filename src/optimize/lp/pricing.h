#pragma once

// The pricing knapsack over whole millimetres, shared by both column
// generations: the most valuable bar for given piece values, a bounded
// knapsack in which each size is split into 1, 2, 4, ... copies so that a 0-1
// table, one bit per lot and length, can be walked back. One fill answers for
// every capacity up to the instance's:
// - the relaxation of several kinds (master.h) prices bars of every stock
//   length and offcut from one fill;
// - PriceBar (price_bar.h), for one length, uses it when the table is small, and
//   otherwise a branch and bound that suits long bars better.
// Values are whole numbers (safe_bound.h), and their sums within MostWorth:
// the value found is the true maximum, exactly, and the lower bounds built on
// it need no margin.

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <cstdint>
#include <vector>

namespace cutting::detail {

template <typename Value> class BasicPricing {
public:
    // Whether the table for `in` fits in memory; when it does not, no bar can
    // be priced and the relaxation is not worth starting.
    static bool Fits(const Instance& in);

    // Fills the table for `value`, at most `limit` pieces of each size, over
    // every length up to in.capacity; false when stopped first (a long bar
    // over thousands of sizes takes a while) or when the table would not fit
    // in memory. Sizes worth nothing are left out.
    bool Fill(const Instance& in, const std::vector<Value>& value, const std::vector<int>& limit,
              const Stop& stop);
    // After Fill(): the best value of a bar of `capacity`, and its content.
    Value Best(int capacity, Bar& bar) const;
    // After Fill(): the best value of a bar of `capacity` alone.
    Value Worth(int capacity) const { return best_[static_cast<size_t>(capacity)]; }

private:
    struct Lot {
        size_t type;
        int size;   // of one piece
        int copies; // pieces in the lot
    };
    std::vector<Lot> lots_;
    size_t types_ = 0;
    size_t width_ = 0;
    std::vector<std::uint64_t> table_; // bit per lot and length: the lot raised it
    std::vector<Value> best_;          // best value within each length
};

// Over whole values: what proves bounds.
using Pricing = BasicPricing<long long>;
// Over the duals as the simplex gives them: what the relaxation of several
// kinds chooses its columns by. Its ties fall as the sums of the duals round,
// and the plans rounded from the relaxation were tuned on that path.
using DualPricing = BasicPricing<double>;

} // namespace cutting::detail
