#pragma once

// Bars filled as fully as the pieces left allow.

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <cstdint>
#include <vector>

namespace cutting::detail {

// Fills bar after bar as fully as possible, each with the longest piece left,
// choosing at random among equally good fills; keeps the best of `rounds`.
Packing FullestFill(const Instance& in, int rounds, unsigned seed, const Stop& stop);

// The fullest bar of a capacity from the pieces left: a bounded subset sum
// over whole millimetres with one row, `via[c]` the size that first reached
// the sum c and `copies[c]` how many of it the sum holds; walking back from a
// sum always lands on a sum reached by an earlier size. One row, not one per
// size, keeps thousands of sizes on a long bar within memory; the row is kept
// between bars.
class FullestBar {
public:
    // Adds the bar's pieces to `bar`, taking the sizes in `order` (which
    // decides among equally full bars); false when stopped first.
    bool Find(const Instance& in, const std::vector<int>& rem, int capacity,
              const std::vector<size_t>& order, const Stop& stop, Bar& bar);

private:
    std::vector<std::uint32_t> via_;
    std::vector<int> copies_;
    std::vector<char> reach_;
    long long steps_ = 0;
};

} // namespace cutting::detail
