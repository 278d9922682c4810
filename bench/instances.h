#pragma once

// Instance generators shared by the optimiser's benchmarks.

#include "model/order.h"
#include "model/sizing.h"
#include "optimize/cutting.h"
#include "optimize/order_pieces.h"

#include <algorithm>
#include <random>
#include <vector>

namespace bench {

// Falkenauer's class T: every bar of 1000 is filled exactly by three pieces
// between 250 and 500, so the optimum is pieces / 3 bars.
inline std::vector<cutting::CutItem> Triplets(int pieces, std::mt19937& rng) {
    std::vector<int> lengths;
    for (int t = 0; t < pieces / 3; ++t) {
        const int first = std::uniform_int_distribution<int>(380, 490)(rng);
        const int space = 1000 - first;
        const int second = std::uniform_int_distribution<int>(250, space / 2)(rng);
        lengths.insert(lengths.end(), {first, second, space - second});
    }
    std::shuffle(lengths.begin(), lengths.end(), rng);
    std::vector<cutting::CutItem> items;
    int number = 0;
    for (int length : lengths)
        items.push_back({++number, cutting::PieceKind::Vertical, length, 1});
    return items;
}

// A workshop order of 1..60 grilles for openings of 400..3000 mm, sized by
// the program's own rules.
inline model::Order WorkshopOrder(std::mt19937& rng) {
    auto uniform = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    model::Order order;
    const int quadros[] = {10, 12, 14, 16, 20};
    order.Quadro = static_cast<model::int16>(quadros[uniform(0, 4)]);
    const int count = uniform(1, 60);
    for (int i = 1; i <= count; ++i) {
        const auto n = static_cast<model::int16>(i);
        model::Opening& o = order.OpeningAt(i);
        o.Width = static_cast<model::int16>(uniform(400, 3000));
        o.Height = static_cast<model::int16>(uniform(400, 3000));
        o.TopGap = static_cast<model::int16>(uniform(0, 30));
        o.BottomGap = static_cast<model::int16>(uniform(0, 30));
        o.SideGap = static_cast<model::int16>(uniform(0, 30));
        model::SizeGrilleFrame(order, n);
        model::SizeGrilleSteps(order, n);
        model::SizeGrilleInserts(order, n);
        if (uniform(0, 9) == 0)
            order.GrilleAt(i).DoubleBelt = model::True16;
    }
    order.GrilleCount = static_cast<model::int16>(count);
    return order;
}

} // namespace bench
