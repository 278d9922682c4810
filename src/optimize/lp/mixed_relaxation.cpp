#include "mixed_relaxation.h"

#include "glpk_guard.h"
#include "master.h"
#include "pricing.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace cutting::detail {

namespace {

// Cuts `bar` down to what is still needed and takes it off `rem`.
Bar TakeBar(const Bar& bar, std::vector<int>& rem) {
    Bar taken(bar.size(), 0);
    for (size_t i = 0; i < bar.size(); ++i) {
        taken[i] = std::min(bar[i], rem[i]);
        rem[i] -= taken[i];
    }
    return taken;
}

bool Empty(const Bar& bar) {
    return std::all_of(bar.begin(), bar.end(), [](int k) { return k == 0; });
}

// Fixes the bars the relaxation uses whole, or else its most used bar, and
// solves again for what is left; empty when stopped or unsolvable.
Cuts Round(const Instance& in, std::vector<int> counts, Master& master, const Stop& stop) {
    std::vector<int> rem = in.demand;
    Cuts cuts;
    auto never = [](double) { return false; };
    auto available = [&counts](int kind) { return counts[static_cast<size_t>(kind)] != 0; };
    auto use = [&counts](int kind) {
        int& count = counts[static_cast<size_t>(kind)];
        if (count > 0)
            --count;
    };
    while (!Empty(rem)) {
        master.SetDemand(rem);
        master.SetCounts(counts);
        double ignored = 0.0;
        if (!master.Solve(never, ignored, stop))
            return {};
        bool fixed = false;
        size_t most = 0;
        double mostLevel = -1.0;
        for (size_t p = 0; p < master.Columns().size(); ++p) {
            const double x = master.Level(p);
            const Cut& column = master.Columns()[p];
            if (x > mostLevel && available(column.kind))
                most = p, mostLevel = x;
            for (int k = static_cast<int>(std::floor(x + 1e-6)); k > 0 && available(column.kind);
                 --k) {
                Bar bar = TakeBar(column.bar, rem);
                if (!Empty(bar)) {
                    cuts.push_back({column.kind, std::move(bar)});
                    use(column.kind);
                    fixed = true;
                }
            }
        }
        if (!fixed) {
            if (mostLevel < 0.0)
                return {};
            const Cut& column = master.Columns()[most];
            Bar bar = TakeBar(column.bar, rem);
            if (Empty(bar))
                return {};
            cuts.push_back({column.kind, std::move(bar)});
            use(column.kind);
        }
    }
    return cuts;
}

} // namespace

MixedRelaxation SolveMixedRelaxation(const Instance& in, const std::vector<Kind>& kinds,
                                     const Cuts& start, double target, bool round,
                                     const Stop& stop) {
    const GlpkShare share;
    MixedRelaxation result;
    if (!Pricing::Fits(in))
        return result;
    Master master(in, kinds);
    for (const Cut& cut : start)
        if (!stop.Now())
            master.Add(cut.kind, cut.bar);
    // One size alone on a bought bar of each length; offcuts are limited in
    // number and the start packing already keeps the problem solvable.
    for (size_t k = 0; k < kinds.size() && !stop.Now(); ++k)
        for (size_t i = 0; i < in.size.size() && kinds[k].cost > 0; ++i) {
            Bar single(in.size.size(), 0);
            single[i] = std::min(in.demand[i], kinds[k].capacity / in.size[i]);
            master.Add(static_cast<int>(k), single);
        }
    double bound = 0.0;
    result.solved = master.Solve([target](double b) { return b > target; }, bound, stop);
    result.bound = bound;
    result.prices = master.Prices();
    if (!round || !result.solved || bound > target)
        return result;
    std::vector<int> counts;
    for (const Kind& kind : kinds)
        counts.push_back(kind.count);
    result.cuts = Round(in, counts, master, stop);
    return result;
}

} // namespace cutting::detail
