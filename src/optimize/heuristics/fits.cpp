#include "fits.h"

#include "optimize/instance/instance.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>

namespace cutting::detail {

namespace {

// Adds a piece of size `i` to a sparse bar, whose sizes come in order.
void AddPiece(SparseBar& bar, size_t i) {
    if (!bar.empty() && bar.back().first == static_cast<int>(i))
        ++bar.back().second;
    else
        bar.push_back({static_cast<int>(i), 1});
}

} // namespace

SparsePacking FirstFitSparse(const Instance& in) {
    // The first bar with room for a piece, found in a tree of the most room
    // left in each half, quarter, ... of the bars: a piece costs the log of
    // the bars, not all of them.
    SparsePacking bars;
    size_t leaves = 1;
    while (leaves < static_cast<size_t>(std::max(in.Pieces(), 1)))
        leaves *= 2;
    std::vector<int> most(2 * leaves, -1); // room of bars not yet open: -1
    for (size_t i = 0; i < in.size.size(); ++i)
        for (int copy = 0; copy < in.demand[i]; ++copy) {
            size_t node = 1;
            if (most[1] < in.size[i]) {
                node = leaves + bars.size(); // a new bar
                bars.emplace_back();
                most[node] = in.capacity;
            } else {
                while (node < leaves)
                    node = most[2 * node] >= in.size[i] ? 2 * node : 2 * node + 1;
            }
            AddPiece(bars[node - leaves], i);
            most[node] -= in.size[i];
            for (node /= 2; node > 0; node /= 2)
                most[node] = std::max(most[2 * node], most[2 * node + 1]);
        }
    return bars;
}

SparsePacking BestFitSparse(const Instance& in) {
    SparsePacking bars;
    std::multiset<std::pair<int, size_t>> free; // (room left, bar)
    for (size_t i = 0; i < in.size.size(); ++i) {
        for (int copy = 0; copy < in.demand[i]; ++copy) {
            auto it = free.lower_bound({in.size[i], 0});
            size_t bar;
            int room;
            if (it == free.end()) {
                bar = bars.size();
                bars.emplace_back();
                room = in.capacity;
            } else {
                bar = it->second;
                room = it->first;
                free.erase(it);
            }
            AddPiece(bars[bar], i);
            free.emplace(room - in.size[i], bar);
        }
    }
    return bars;
}

Packing FirstFitDecreasing(const Instance& in) {
    return Dense(FirstFitSparse(in), in.size.size());
}

Packing BestFitDecreasing(const Instance& in) {
    return Dense(BestFitSparse(in), in.size.size());
}

} // namespace cutting::detail
