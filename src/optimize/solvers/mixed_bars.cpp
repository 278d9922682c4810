#include "mixed_bars.h"

#include "solution.h"

#include "optimize/instance/instance.h"

#include <algorithm>

namespace cutting::detail {

long long Fill(const Instance& in, const SparseBar& bar) {
    long long fill = 0;
    for (const auto& [type, count] : bar)
        fill += static_cast<long long>(in.size[static_cast<size_t>(type)]) * count;
    return fill;
}

Score Scored(const MixedProblem& p, const Assigned& bars) {
    Score s{0, 0, 0};
    for (const PlannedBar& bar : bars) {
        const Kind& kind = p.kinds[static_cast<size_t>(bar.kind)];
        s.cost += kind.cost;
        s.bought += kind.cost > 0 ? 1 : 0;
        const long long left = kind.capacity - Fill(p.in, bar.content) - p.kerf;
        if (left > 0 && left < p.minUseful)
            s.scrap += left;
    }
    return s;
}

bool Valid(const MixedProblem& p, const Assigned& bars) {
    SparsePacking packing;
    std::vector<int> used(p.kinds.size(), 0);
    for (const PlannedBar& bar : bars) {
        if (bar.kind < 0 || static_cast<size_t>(bar.kind) >= p.kinds.size())
            return false;
        const Kind& kind = p.kinds[static_cast<size_t>(bar.kind)];
        if (Fill(p.in, bar.content) > kind.capacity)
            return false;
        ++used[static_cast<size_t>(bar.kind)];
        packing.push_back(bar.content);
    }
    for (size_t k = 0; k < p.kinds.size(); ++k)
        if (p.kinds[k].count >= 0 && used[k] > p.kinds[k].count)
            return false;
    // Each bar fits its kind: what is left is whether the pieces are all there.
    return IsValidPacking(p.in, packing);
}

Assigned AssignCheapest(const MixedProblem& p, SparsePacking bars, std::vector<int> counts) {
    std::vector<std::pair<long long, size_t>> order;
    for (size_t b = 0; b < bars.size(); ++b)
        order.push_back({Fill(p.in, bars[b]), b});
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    Assigned assigned;
    for (const auto& [fill, b] : order) {
        if (fill == 0)
            continue;
        int best = -1;
        for (size_t k = 0; k < p.kinds.size(); ++k) {
            const Kind& kind = p.kinds[k];
            if (kind.capacity < fill || counts[k] == 0)
                continue;
            const Kind* chosen = best < 0 ? nullptr : &p.kinds[static_cast<size_t>(best)];
            if (chosen == nullptr || kind.cost < chosen->cost ||
                (kind.cost == chosen->cost && kind.capacity < chosen->capacity))
                best = static_cast<int>(k);
        }
        if (best < 0)
            return {};
        if (counts[static_cast<size_t>(best)] > 0)
            --counts[static_cast<size_t>(best)];
        assigned.push_back({best, std::move(bars[b])});
    }
    return assigned;
}

} // namespace cutting::detail
