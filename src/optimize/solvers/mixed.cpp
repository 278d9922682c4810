#include "mixed.h"

#include "bar_counts.h"
#include "bar_moves.h"
#include "count_bound.h"
#include "counted_search.h"
#include "mixed_bars.h"
#include "solution.h"
#include "stock_sums.h"

#include "optimize/heuristics/fits.h"
#include "optimize/heuristics/fullest.h"
#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/mixed_relaxation.h"
#include "optimize/lp/pricing.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace cutting::detail {

namespace {

// No plan buys less than what the offcuts on hand cannot hold, at the best
// price per millimetre of a stock length: the least over the stock lengths
// of that length's price for it, in whole millimetres.
long long BoundByLength(const MixedProblem& p) {
    long long onHand = 0;
    for (const Kind& kind : p.kinds)
        if (kind.cost == 0)
            onHand += static_cast<long long>(kind.count) * kind.capacity;
    const long long need = p.in.TotalSize() - onHand;
    if (need <= 0)
        return 0;
    long long bound = -1;
    for (const Kind& kind : p.kinds)
        if (kind.cost > 0) {
            const long long cost = (need * kind.cost + kind.capacity - 1) / kind.capacity;
            bound = bound < 0 ? cost : std::min(bound, cost);
        }
    return std::max(bound, 0LL);
}

// The phases of a plan on several kinds of bar, in order: the offcuts on hand
// filled first, greedy fills of the rest on each stock length, a complete
// search for a first plan when those find none, then the relaxation over the
// kinds, its rounding and the bound of whole bars of each length, then the
// numbers of bars of each kind that add up to the bound, each as one length.
class MixedSolver {
public:
    MixedSolver(const MixedProblem& p, double timeLimit, const Stop& stop, const Report& report,
                const Parameters& parameters)
        : p_(p), stop_(stop), report_(report), all_(parameters), parameters_(parameters.mixed),
          shares_(stop, timeLimit), sums_(p), bound_(BoundByLength(p)),
          moves_(stop.Apart().Within(parameters.mixed.movesWork)),
          budget_(std::chrono::duration_cast<Clock::duration>(
              std::chrono::duration<double>(std::max(timeLimit, 0.0)))) {
        for (const Kind& kind : p.kinds)
            counts_.push_back(kind.count);
    }

    Solution Solve() {
        FillOffcutsOnHand();
        GreedyFills();
        if (best_.empty()) {
            FirstPlan first =
                FindFirstPlan(p_, stop_.WithoutDeadline().Within(parameters_.firstPlanWork));
            if (first.verdict != Verdict::Found) {
                Solution none;
                none.undecided = first.verdict == Verdict::Stopped;
                return none;
            }
            Offer(std::move(first.bars));
        }
        Tell();
        if (parameters_.relaxation && !Proven() && !stop_.Now() && Pricing::Fits(p_.in)) {
            Relax();
            Tell();
        }
        if (parameters_.byCounts && !Proven()) {
            SearchByCounts();
            Tell();
        }

        Solution s;
        s.lowerBoundLength = LowerBound();
        s.lowerBound = static_cast<int>((s.lowerBoundLength + Dearest() - 1) / Dearest());
        s.bars = std::move(best_);
        return s;
    }

private:
    // Each offcut on hand filled as fully as the pieces allow, in turn.
    // Counted in work, not on the clock: a plan needs this step even at a
    // limit of 0, and gets the same fills on any machine.
    void FillOffcutsOnHand() {
        const Instance& in = p_.in;
        rem_ = in.demand;
        left_ = counts_;
        FullestBar fullest;
        std::vector<size_t> sizes(in.size.size());
        std::iota(sizes.begin(), sizes.end(), size_t{0});
        const Stop stop =
            stop_.WithoutDeadline().Within(std::max(WorkOf(budget_), parameters_.leastHandWork));
        for (size_t k = 0; k < p_.kinds.size() && !stop.Now(); ++k)
            for (int u = 0; p_.kinds[k].cost == 0 && u < p_.kinds[k].count; ++u) {
                Bar bar(in.size.size(), 0);
                if (!fullest.Find(in, rem_, p_.kinds[k].capacity, sizes, stop, bar) ||
                    std::all_of(bar.begin(), bar.end(), [](int c) { return c == 0; }))
                    break;
                for (size_t i = 0; i < in.size.size(); ++i)
                    rem_[i] -= bar[i];
                fromHand_.push_back({static_cast<int>(k), Sparse(bar)});
                --left_[k];
            }
    }

    // What the offcuts left goes on bars of one stock length at a time (first
    // fit, best fit, fullest fill), each bar then moved to the cheapest kind
    // that holds it; then every kind at once, for when limited counts spoil
    // those. Until there is a plan, the clock does not count.
    void GreedyFills() {
        Remainder remainder = RemainderOf(p_.in, rem_);
        Instance& rest = remainder.in;
        auto widen = [&](SparsePacking packing) {
            for (SparseBar& bar : packing)
                for (auto& item : bar)
                    item.first = static_cast<int>(remainder.type[static_cast<size_t>(item.first)]);
            return packing;
        };
        if (rest.size.empty())
            Offer(fromHand_);
        auto more = [&] { return best_.empty() || !stop_.Now(); };
        const Stop fullestStop = shares_.Until(parameters_.fullestFillShare);
        for (size_t k = 0; k < p_.kinds.size() && !rest.size.empty() && more(); ++k) {
            if (p_.kinds[k].cost == 0 || p_.kinds[k].capacity < rest.size.front())
                continue;
            rest.capacity = p_.kinds[k].capacity;
            for (int way = 0; way < 3 && more(); ++way) {
                SparsePacking packing = way == 0   ? FirstFitSparse(rest)
                                        : way == 1 ? BestFitSparse(rest)
                                                   : Sparse(FullestFill(rest, 1, 1u, fullestStop));
                Assigned bars = AssignCheapest(p_, widen(std::move(packing)), left_);
                if (bars.empty())
                    continue;
                bars.insert(bars.begin(), fromHand_.begin(), fromHand_.end());
                Offer(std::move(bars));
            }
        }
        for (int way = 0; way < 2 && more(); ++way)
            Offer(AssignCheapest(p_, way == 0 ? FirstFitSparse(p_.in) : BestFitSparse(p_.in),
                                 counts_));
    }

    // The relaxation over the kinds: its bound, the bound of whole bars of
    // each length at its prices (often more), and its rounding as plans.
    void Relax() {
        const auto target = static_cast<double>(sums_.Below(foundScore_.cost));
        Cuts known;
        for (const PlannedBar& bar : found_)
            known.push_back({bar.kind, Dense({bar.content}, p_.in.size.size()).front()});
        MixedRelaxation r = SolveMixedRelaxation(p_.in, p_.kinds, known, target, true,
                                                 shares_.Until(parameters_.relaxationShare));
        bound_ = std::max(bound_, static_cast<long long>(r.bound));
        if (const long long least = CountBound(p_, r.prices).Least(bestScore_.cost); least >= 0)
            bound_ = std::max(bound_, least);
        if (r.cuts.empty())
            return;
        Assigned rounded;
        SparsePacking bars;
        for (const Cut& cut : r.cuts) {
            rounded.push_back({cut.kind, Sparse(cut.bar)});
            bars.push_back(rounded.back().content);
        }
        Offer(std::move(rounded));
        Offer(AssignCheapest(p_, std::move(bars), counts_));
    }

    // Plans with the numbers of bars of each kind that add up to the bound,
    // each solved as one stock length; once every way to the bound is ruled
    // out, the bound is the next sum of stock bars, and so on.
    void SearchByCounts() {
        const Stop stop = shares_.Until(1.0);
        while (!Proven() && !stop.Now()) {
            const long long target = sums_.AtLeast(bound_);
            const CountsOfSum ways = CountsAddingUpTo(p_, target, parameters_.mostCounts);
            bool ruledOut = ways.complete;
            for (const std::vector<int>& counts : ways.counts) {
                if (Proven() || stop.Now())
                    return;
                const double seconds = std::chrono::duration<double>(budget_).count();
                ByCounts tried =
                    PlanWithCounts(p_, counts, seconds * parameters_.countsTryShare, stop, all_);
                ruledOut = ruledOut && tried.ruledOut;
                Offer(std::move(tried.bars));
            }
            if (!ruledOut)
                return;
            bound_ = std::max(bound_, target + 1);
        }
    }

    // Keeps the plan as found, for the relaxation to start from, and the
    // plan the moves make of it, when either is the best of its sort. The
    // relaxation starts from plans as found so that it takes the same path
    // whatever the moves saved.
    void Offer(Assigned bars) {
        if (bars.empty() || !Valid(p_, bars))
            return;
        const Score found = Scored(p_, bars);
        if (found < foundScore_)
            found_ = bars, foundScore_ = found;
        // Every packing is checked before it is kept, the moved one too.
        if (Assigned moved = CheaperByMoves(p_, bars, moves_); Valid(p_, moved))
            bars = std::move(moved);
        const Score score = Scored(p_, bars);
        if (score < bestScore_)
            best_ = std::move(bars), bestScore_ = score;
    }

    // The bound on the bought length: the least sum of whole stock bars at
    // least the bound proven, and never above the plan.
    long long LowerBound() const { return std::min(sums_.AtLeast(bound_), bestScore_.cost); }
    bool Proven() const { return !best_.empty() && sums_.AtLeast(bound_) >= bestScore_.cost; }
    long long Dearest() const {
        long long dearest = 1;
        for (const Kind& kind : p_.kinds)
            dearest = std::max(dearest, kind.cost);
        return dearest;
    }

    void Tell() {
        if (best_.empty())
            return;
        const long long lower = LowerBound();
        report_(bestScore_.bought, bestScore_.cost,
                static_cast<int>((lower + Dearest() - 1) / Dearest()), lower);
    }

    const MixedProblem& p_;
    const Stop& stop_;
    const Report& report_;
    const Parameters& all_;
    const Parameters::Mixed& parameters_;
    const Shares shares_;
    const StockSums sums_;
    long long bound_; // on the bought length, proven
    // The moves' one budget for the whole plan, in work of their own, so that
    // the other phases' shares end where they would without them; the limit
    // ends the moves as it ends the rest.
    const Stop moves_;
    Clock::duration budget_;  // the time limit
    std::vector<int> counts_; // bars of each kind, -1 for any number
    std::vector<int> rem_;    // pieces the offcuts on hand leave
    std::vector<int> left_;   // bars of each kind they leave
    Assigned fromHand_;       // the offcuts on hand, filled
    Assigned found_;          // the best plan as found
    Score foundScore_;
    Assigned best_; // the best plan after the moves
    Score bestScore_;
};

} // namespace

Solution SolveMixed(const MixedProblem& p, double timeLimit, const Stop& stop, const Report& report,
                    const Parameters& parameters) {
    return MixedSolver(p, timeLimit, stop, report, parameters).Solve();
}

} // namespace cutting::detail
