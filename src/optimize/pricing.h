#pragma once

#include "packing.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace cutting::detail {

// Most valuable bar for the given piece values: a bounded knapsack over whole
// millimetres, each size split into 1, 2, 4, ... copies so that a 0-1 table
// can be walked back. One table answers for every capacity up to the
// instance's, so one pass prices bars of every stock length.
class Pricing {
public:
    explicit Pricing(const Instance& in) : in_(in) {}

    // Whether the table for `in` fits in memory; when it does not, no bar can
    // be priced and the relaxation is not worth starting.
    static bool Fits(const Instance& in);

    // Fills the table for `value`, at most `limit` pieces of each size; false
    // when stopped first (a long bar over thousands of sizes takes a while) or
    // when the table would not fit in memory.
    bool fill(const std::vector<double>& value, const std::vector<int>& limit, const Stop& stop);
    // The best value of a bar of `capacity` after fill(), and its content.
    double best(int capacity, Bar& bar) const;

private:
    const Instance& in_;
    std::vector<std::pair<size_t, int>> lots_;
    std::vector<std::uint64_t> table_; // bit per lot and sum: the lot raised it
    std::vector<double> best_;
};

} // namespace cutting::detail
