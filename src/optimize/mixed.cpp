#include "solve.h"

#include "counted_search.h"
#include "pricing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <queue>

namespace cutting::detail {

namespace {

// The most work the search for a first plan may take: about a minute.
constexpr long long FirstPlanWork = WorkOf(std::chrono::seconds(60));

// The least work the fills of offcuts on hand may take, whatever the limit.
constexpr long long HandWork = WorkOf(std::chrono::milliseconds(50));

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

// Bars with their kinds, as the plan keeps them.
using Assigned = std::vector<PlannedBar>;

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

} // namespace

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

namespace {

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

// The least cost of bars to buy that is worth enough at the duals of every
// pricing: bars of a kind bought n_k times are worth at most n_k * price_k,
// offcuts on hand at most their count times their price, and together they
// must be worth what the pieces are. Searched over the counts of each stock
// length, dearest first, below `cost`; `cost` when none is cheaper, and -1
// when the search would take too long. Sound up to the rounding of the sums,
// for which each price is taken a little higher and each need a little lower.
class CountBound {
public:
    CountBound(const MixedProblem& p, const std::vector<PriceBound>& prices) : p_(p) {
        for (size_t k = 0; k < p.kinds.size(); ++k)
            if (p.kinds[k].cost > 0)
                bought_.push_back(k);
        std::stable_sort(bought_.begin(), bought_.end(),
                         [&](size_t a, size_t b) { return p.kinds[a].cost > p.kinds[b].cost; });
        for (const PriceBound& bound : prices) {
            Need need;
            need.left = bound.needed * (1.0 - Margin) - Margin;
            for (size_t k = 0; k < p.kinds.size(); ++k)
                if (p.kinds[k].cost == 0)
                    need.left -= Up(bound.price[k]) * std::max(p.kinds[k].count, 0);
            for (size_t k : bought_)
                need.worth.push_back(Up(bound.price[k]));
            needs_.push_back(std::move(need));
        }
    }

    long long Least(long long cost) {
        best_ = cost;
        steps_ = 0;
        counts_.assign(bought_.size(), 0);
        if (bought_.empty() || needs_.empty())
            return -1;
        Search(0, 0);
        return steps_ > MostSteps ? -1 : best_;
    }

private:
    static constexpr double Margin = 1e-9;
    static constexpr long long MostSteps = 1000000;

    struct Need {
        double left = 0.0;         // what the bars bought must be worth
        std::vector<double> worth; // of a bar of each kind bought, at most
    };

    static double Up(double price) { return price * (1.0 + Margin) + Margin; }

    // Chooses how many bars of bought_[k] on; `spent` on the ones before.
    void Search(size_t k, long long spent) {
        if (++steps_ > MostSteps)
            return;
        const Kind& kind = p_.kinds[bought_[k]];
        if (k + 1 == bought_.size()) {
            // The fewest bars of the last kind that meet every need.
            long long fewest = 0;
            for (const Need& need : needs_) {
                double left = need.left;
                for (size_t j = 0; j < k; ++j)
                    left -= need.worth[j] * static_cast<double>(counts_[j]);
                if (left <= 0.0)
                    continue;
                if (need.worth[k] <= 0.0)
                    return;
                fewest = std::max(fewest, static_cast<long long>(std::ceil(left / need.worth[k])));
            }
            if ((kind.count >= 0 && fewest > kind.count) ||
                fewest >= (best_ - spent + kind.cost - 1) / kind.cost)
                return;
            best_ = spent + fewest * kind.cost;
            return;
        }
        for (long long n = 0; spent + n * kind.cost < best_ && (kind.count < 0 || n <= kind.count);
             ++n) {
            counts_[k] = n;
            Search(k + 1, spent + n * kind.cost);
            if (steps_ > MostSteps)
                return;
        }
        counts_[k] = 0;
    }

    const MixedProblem& p_;
    std::vector<size_t> bought_; // kinds that cost something, dearest first
    std::vector<Need> needs_;
    std::vector<long long> counts_;
    long long best_ = 0;
    long long steps_ = 0;
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

    Assigned best;
    Score bestScore;
    auto offer = [&](Assigned bars) {
        if (bars.empty() || !Valid(p, bars))
            return;
        const Score score = Scored(p, bars);
        if (score < bestScore)
            best = std::move(bars), bestScore = score;
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
    Assigned fromHand;
    std::vector<int> left = counts;
    FullestBar fullest;
    std::vector<size_t> sizes(m);
    std::iota(sizes.begin(), sizes.end(), size_t{0});
    // Counted in work, not on the clock: a plan needs this step even at a
    // limit of 0, and gets the same fills on any machine.
    const Stop handStop = stop.WithoutDeadline().Within(std::max(WorkOf(budget), HandWork));
    for (size_t k = 0; k < p.kinds.size() && !handStop.Now(); ++k)
        for (int u = 0; p.kinds[k].cost == 0 && u < p.kinds[k].count; ++u) {
            Bar bar(in.size.size(), 0);
            if (!fullest.Find(in, rem, p.kinds[k].capacity, sizes, handStop, bar))
                bar.assign(in.size.size(), 0);
            if (std::all_of(bar.begin(), bar.end(), [](int c) { return c == 0; }))
                break;
            for (size_t i = 0; i < m; ++i)
                rem[i] -= bar[i];
            fromHand.push_back({static_cast<int>(k), Sparse(bar)});
            --left[k];
        }
    Remainder remainder = RemainderOf(in, rem);
    Instance& rest = remainder.in;
    const std::vector<size_t>& type = remainder.type;
    auto widen = [&](SparsePacking packing) {
        for (SparseBar& bar : packing)
            for (auto& item : bar)
                item.first = static_cast<int>(type[static_cast<size_t>(item.first)]);
        return packing;
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
            SparsePacking packing =
                way == 0   ? FirstFitSparse(rest)
                : way == 1 ? BestFitSparse(rest)
                           : Sparse(FullestFill(rest, 1, 1u, stop.Until(start + budget / 10)));
            Assigned bars = AssignCheapest(p, widen(std::move(packing)), left);
            if (bars.empty())
                continue;
            bars.insert(bars.begin(), fromHand.begin(), fromHand.end());
            offer(std::move(bars));
        }
    }
    // Every kind at once, for when limited counts spoil the above.
    for (int way = 0; way < 2 && more(); ++way)
        offer(AssignCheapest(p, way == 0 ? FirstFitSparse(in) : BestFitSparse(in), counts));
    // The counted bars too few for the fills above: a complete search
    // decides whether the order can be cut at all.
    if (best.empty()) {
        FirstPlan first = FindFirstPlan(p, stop.WithoutDeadline().Within(FirstPlanWork));
        if (first.verdict != Verdict::Found) {
            Solution none;
            none.undecided = first.verdict == Verdict::Stopped;
            return none;
        }
        offer(std::move(first.bars));
    }
    tell();

    if (!best.empty() && !proven() && !stop.Now() && Pricing::Fits(in)) {
        const double target = static_cast<double>(sums.Below(bestScore.cost));
        Cuts known;
        for (const PlannedBar& bar : best)
            known.push_back({bar.kind, Dense({bar.content}, m).front()});
        MixedRelaxation r = SolveMixedRelaxation(in, p.kinds, known, target, true,
                                                 stop.Until(start + budget * 3 / 4));
        bound = std::max(bound, r.bound);
        // Whole bars of each length: often more than the relaxation's bound.
        if (const long long least = CountBound(p, r.prices).Least(bestScore.cost); least >= 0)
            bound = std::max(bound, static_cast<double>(least));
        if (!r.cuts.empty()) {
            Assigned rounded;
            SparsePacking bars;
            for (const Cut& cut : r.cuts) {
                rounded.push_back({cut.kind, Sparse(cut.bar)});
                bars.push_back(rounded.back().content);
            }
            offer(std::move(rounded));
            offer(AssignCheapest(p, std::move(bars), counts));
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
    s.bars = std::move(best);
    return s;
}

} // namespace cutting::detail
