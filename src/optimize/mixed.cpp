#include "solve.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <queue>

namespace cutting::detail {

namespace {

struct Score {
    long long cost = std::numeric_limits<long long>::max();
    int bought = 0;      // bars bought
    long long scrap = 0; // leftovers too short to keep

    bool operator<(const Score& o) const {
        return cost != o.cost       ? cost < o.cost
               : bought != o.bought ? bought < o.bought
                                    : scrap < o.scrap;
    }
};

Score Scored(const MixedProblem& p, const Cuts& cuts) {
    Score s{0, 0, 0};
    for (const Cut& cut : cuts) {
        const Kind& kind = p.kinds[static_cast<size_t>(cut.kind)];
        s.cost += kind.cost;
        s.bought += kind.cost > 0 ? 1 : 0;
        const long long left = kind.capacity - BarFill(p.in, cut.bar) - p.kerf;
        if (left > 0 && left < p.minUseful)
            s.scrap += left;
    }
    return s;
}

bool Valid(const MixedProblem& p, const Cuts& cuts) {
    std::vector<int> used(p.in.size.size(), 0);
    std::vector<int> bars(p.kinds.size(), 0);
    for (const Cut& cut : cuts) {
        const Kind& kind = p.kinds[static_cast<size_t>(cut.kind)];
        if (cut.bar.size() != used.size() || BarFill(p.in, cut.bar) > kind.capacity)
            return false;
        ++bars[static_cast<size_t>(cut.kind)];
        for (size_t i = 0; i < used.size(); ++i)
            used[i] += cut.bar[i];
    }
    for (size_t k = 0; k < p.kinds.size(); ++k)
        if (p.kinds[k].count >= 0 && bars[k] > p.kinds[k].count)
            return false;
    return used == p.in.demand;
}

// Gives each bar the cheapest kind that holds it and is still to be had,
// fullest bars first (they have the fewest kinds to choose from); empty when
// some bar gets none.
Cuts Assign(const MixedProblem& p, Packing bars, std::vector<int> counts) {
    std::vector<std::pair<long long, size_t>> order;
    for (size_t b = 0; b < bars.size(); ++b)
        order.push_back({BarFill(p.in, bars[b]), b});
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    Cuts cuts;
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
        cuts.push_back({best, std::move(bars[b])});
    }
    return cuts;
}

// The sums of whole bars of the stock lengths, counts set aside: the smallest
// of each remainder modulo the shortest length (shortest paths over the
// remainders), from which every sum follows by adding shortest bars.
class StockSums {
public:
    explicit StockSums(const MixedProblem& p) {
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

    // The smallest sum at least `bound`.
    long long AtLeast(double bound) const {
        if (bound <= 0 || costs_.empty())
            return 0;
        const auto b = static_cast<long long>(std::ceil(bound));
        long long best = std::numeric_limits<long long>::max();
        for (long long s : least_)
            if (s != std::numeric_limits<long long>::max())
                best = std::min(best, s >= b ? s : s + (b - s + step_ - 1) / step_ * step_);
        return best;
    }
    // The largest sum below `cost`, or -1.
    long long Below(long long cost) const {
        long long best = -1;
        for (long long s : least_)
            if (s < cost)
                best = std::max(best, s + (cost - 1 - s) / step_ * step_);
        return best;
    }

private:
    std::vector<long long> costs_;
    long long step_ = 1;
    std::vector<long long> least_;
};

} // namespace

Solution SolveMixed(const MixedProblem& p, double timeLimit, const Stop& stop, Reporter& report) {
    const auto start = Clock::now();
    const auto budget = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(timeLimit, 0.0)));
    const Instance& in = p.in;
    const size_t m = in.size.size();
    std::vector<int> counts;
    for (const Kind& kind : p.kinds)
        counts.push_back(kind.count);
    const StockSums sums(p);

    // No plan buys less than what the offcuts on hand cannot hold, at the
    // best price per millimetre.
    long long onHand = 0;
    double perMillimetre = std::numeric_limits<double>::max();
    for (const Kind& kind : p.kinds)
        if (kind.cost == 0)
            onHand += static_cast<long long>(kind.count) * kind.capacity;
        else
            perMillimetre = std::min(perMillimetre, static_cast<double>(kind.cost) / kind.capacity);
    double bound = 0.0;
    if (in.TotalSize() > onHand && perMillimetre < std::numeric_limits<double>::max())
        bound = static_cast<double>(in.TotalSize() - onHand) * perMillimetre * (1.0 - 1e-12);

    Cuts best;
    Score bestScore;
    auto offer = [&](Cuts cuts) {
        if (cuts.empty() || !Valid(p, cuts))
            return;
        const Score score = Scored(p, cuts);
        if (score < bestScore)
            best = std::move(cuts), bestScore = score;
    };
    auto tell = [&] {
        if (best.empty())
            return;
        const long long lower = std::min(sums.AtLeast(bound), bestScore.cost);
        long long longest = 1;
        for (const Kind& kind : p.kinds)
            longest = std::max(longest, kind.cost);
        report(bestScore.bought, bestScore.cost, static_cast<int>((lower + longest - 1) / longest),
               lower);
    };
    auto proven = [&] { return !best.empty() && sums.AtLeast(bound) >= bestScore.cost; };

    // Offcuts on hand first, each filled as fully as the pieces allow; what is
    // left goes on bars of one stock length at a time, each bar then moved to
    // the cheapest kind that holds it.
    std::vector<int> rem = in.demand;
    Cuts fromHand;
    std::vector<int> left = counts;
    FullestBar fullest;
    std::vector<size_t> sizes(m);
    std::iota(sizes.begin(), sizes.end(), size_t{0});
    for (size_t k = 0; k < p.kinds.size() && !stop.Now(); ++k)
        for (int u = 0; p.kinds[k].cost == 0 && u < p.kinds[k].count; ++u) {
            Bar bar(in.size.size(), 0);
            if (!fullest.Find(in, rem, p.kinds[k].capacity, sizes, stop, bar))
                bar.assign(in.size.size(), 0);
            if (std::all_of(bar.begin(), bar.end(), [](int c) { return c == 0; }))
                break;
            for (size_t i = 0; i < m; ++i)
                rem[i] -= bar[i];
            fromHand.push_back({static_cast<int>(k), std::move(bar)});
            --left[k];
        }
    Instance rest;
    std::vector<size_t> type;
    for (size_t i = 0; i < m; ++i)
        if (rem[i] > 0) {
            rest.size.push_back(in.size[i]);
            rest.demand.push_back(rem[i]);
            type.push_back(i);
        }
    auto widen = [&](const Packing& packing) {
        Packing bars;
        for (const Bar& bar : packing) {
            Bar full(m, 0);
            for (size_t k = 0; k < type.size(); ++k)
                full[type[k]] = bar[k];
            bars.push_back(std::move(full));
        }
        return bars;
    };
    if (rest.size.empty())
        offer(fromHand);
    // Until there is a plan, the clock does not count: a plan there must be.
    auto more = [&] { return best.empty() || !stop.Now(); };
    for (size_t k = 0; k < p.kinds.size() && !rest.size.empty() && more(); ++k) {
        if (p.kinds[k].cost == 0 || p.kinds[k].capacity < rest.size.front())
            continue;
        rest.capacity = p.kinds[k].capacity;
        for (int way = 0; way < 3 && more(); ++way) {
            const Packing packing = way == 0 ? FirstFitDecreasing(rest)
                                    : way == 1
                                        ? BestFitDecreasing(rest)
                                        : FullestFill(rest, 1, 1u, stop.Until(start + budget / 10));
            Cuts cuts = Assign(p, widen(packing), left);
            if (cuts.empty())
                continue;
            cuts.insert(cuts.begin(), fromHand.begin(), fromHand.end());
            offer(std::move(cuts));
        }
    }
    // Every kind at once, for when limited counts spoil the above.
    for (int way = 0; way < 2 && more(); ++way)
        offer(Assign(p, way == 0 ? FirstFitDecreasing(in) : BestFitDecreasing(in), counts));
    tell();

    if (!best.empty() && !proven() && !stop.Now()) {
        const double target = static_cast<double>(sums.Below(bestScore.cost));
        MixedRelaxation r = SolveMixedRelaxation(in, p.kinds, best, target, true,
                                                 stop.Until(start + budget * 3 / 4));
        bound = std::max(bound, r.bound);
        if (!r.cuts.empty()) {
            Packing bars;
            for (const Cut& cut : r.cuts)
                bars.push_back(cut.bar);
            offer(std::move(r.cuts));
            offer(Assign(p, std::move(bars), counts));
        }
        tell();
    }

    Solution s;
    if (best.empty())
        return s;
    s.lowerBoundLength = std::min(sums.AtLeast(bound), bestScore.cost);
    long long longest = 1;
    for (const Kind& kind : p.kinds)
        longest = std::max(longest, kind.cost);
    s.lowerBound = static_cast<int>((s.lowerBoundLength + longest - 1) / longest);
    s.cuts = std::move(best);
    return s;
}

} // namespace cutting::detail
