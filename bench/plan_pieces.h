#pragma once

// Plans one bin packing instance as an order: each piece a line of its own,
// on bars as long as the capacity, with no saw cut and no trim.

#include "optimize/cutting.h"

#include <chrono>
#include <vector>

namespace bench {

struct Planned {
    cutting::Result result;
    double seconds = 0.0; // wall time of the plan
};

inline Planned PlanPieces(const std::vector<int>& pieces, int capacity, double limit) {
    std::vector<cutting::CutItem> items;
    for (size_t i = 0; i < pieces.size(); ++i)
        items.push_back({static_cast<int>(i) + 1, cutting::PieceKind::Vertical, pieces[i], 1});
    cutting::Settings settings;
    settings.stock = capacity;
    settings.timeLimit = limit;
    const auto start = std::chrono::steady_clock::now();
    Planned planned{cutting::PlanCutting(items, settings)};
    planned.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return planned;
}

} // namespace bench
