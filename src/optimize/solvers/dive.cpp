#include "dive.h"

#include "optimize/exact/bar_completion.h"
#include "optimize/exact/valued_cover.h"
#include "optimize/heuristics/fits.h"
#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/pattern_lp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

namespace cutting::detail {

namespace {

// A level this close to an integer counts as one: which bars to fix, never
// what is proved.
constexpr double Whole = 1e-6;
// Steps of work of a size of a column, when a new demand goes over them.
constexpr long long DemandWork = 4;

// Depth-first rounding of the pattern relaxation: fix the bars it uses whole,
// or else the ones it uses most (several at once far from the end, one near
// it), solve the relaxation of what is left again with new columns, and give
// up on a branch as soon as its proven bound shows the target out of reach.
// A failed branch is retried a few times with the bar it fixed forbidden
// (limited discrepancy). The first small remainder goes to the exact search;
// the dive goes on below it when the search fails. Every node offers its
// fixed bars with the remainder packed first fit as a plan.
class Dive {
public:
    // Dives after the first weigh the bars the relaxation uses with a random
    // factor, drawn from `attempt`, so that they take other ways down.
    Dive(const Instance& in, PatternLp& lp, int target, const Stop& stop, unsigned attempt,
         const Parameters::Dive& parameters)
        : in_(in), lp_(lp), target_(target), stop_(stop), p_(parameters), rem_(in.demand),
          attempt_(attempt), rng_(attempt) {}

    // The fewest bars found, whether or not the target was met.
    Packing Run() {
        Node(p_.maxDiscrepancy);
        return best_;
    }

private:
    bool Done() const { return !best_.empty() && static_cast<int>(best_.size()) <= target_; }

    void Offer(Packing packing) {
        if (best_.empty() || packing.size() < best_.size())
            best_ = std::move(packing);
    }

    // The fixed bars plus a packing of the remainder.
    Packing With(const Remainder& r, const Packing& rest) const {
        Packing all = fixed_;
        for (const Bar& bar : rest) {
            Bar full(in_.size.size(), 0);
            for (size_t k = 0; k < r.type.size(); ++k)
                full[r.type[k]] = bar[k];
            all.push_back(std::move(full));
        }
        return all;
    }

    // Fixes up to `copies` bars of `bar`, each cut down to what is still needed.
    int Fix(const Bar& bar, int copies) {
        int fixed = 0;
        for (; fixed < copies; ++fixed) {
            Bar taken(bar.size(), 0);
            bool any = false;
            for (size_t i = 0; i < bar.size(); ++i) {
                taken[i] = std::min(bar[i], rem_[i]);
                rem_[i] -= taken[i];
                any = any || taken[i] > 0;
            }
            if (!any)
                break;
            fixed_.push_back(std::move(taken));
        }
        return fixed;
    }

    void Unfix(int count) {
        for (; count > 0; --count) {
            for (size_t i = 0; i < rem_.size(); ++i)
                rem_[i] += fixed_.back()[i];
            fixed_.pop_back();
        }
    }

    // Out of time, or of nodes.
    bool Over() const { return nodes_ >= p_.mostNodes || stop_.Now(); }

    bool Node(int discrepancies) {
        if (Over())
            return false;
        ++nodes_;
        if (std::all_of(rem_.begin(), rem_.end(), [](int k) { return k == 0; })) {
            Offer(fixed_);
            return Done();
        }
        const int room = target_ - static_cast<int>(fixed_.size());
        if (room <= 0)
            return false;
        const Remainder r = RemainderOf(in_, rem_);
        Packing quick = FirstFitDecreasing(r.in);
        Packing best = BestFitDecreasing(r.in);
        if (best.size() < quick.size())
            quick = std::move(best);
        Offer(With(r, quick));
        if (Done())
            return true;
        lp_.SetDemand(rem_);
        // Setting the demand goes over every column.
        stop_.Spend(static_cast<long long>(lp_.Columns()) * static_cast<long long>(rem_.size()) *
                    DemandWork);
        // A relaxation that converges slowly still points the way; its bound
        // holds whenever it stops.
        const PatternLp::Status status = lp_.Solve(room + 1, stop_, p_.nodeRelaxation, false);
        if (status == PatternLp::Status::Failed || stop_.Now() || lp_.Bound() > room)
            return false;
        // The first small remainder on the way down goes to the exact search;
        // when that fails, the dive goes on to the end.
        if (room <= p_.smallRoom && !searched_) {
            bool exhausted = false;
            Packing rest = SearchPacking(r.in, room, stop_.Within(p_.searchWork), exhausted);
            if (!rest.empty())
                Offer(With(r, rest));
            if (Done() || (exhausted && rest.empty()))
                return Done();
            searched_ = true;
            const bool ok = Branch(r, room, discrepancies);
            searched_ = false;
            return ok;
        }
        return Branch(r, room, discrepancies);
    }

    // The bars to fix, most used first: all those used whole at once, or else
    // several of the most used, or else one of them at a time (limited
    // discrepancy). A bar that leaves more free length than the bars left may
    // leave in all cannot be part of the packing.
    bool Branch(const Remainder& r, int room, int discrepancies) {
        const long long slack = static_cast<long long>(room) * in_.capacity - r.in.TotalSize();
        const std::vector<std::pair<double, Bar>> used = Used(slack);
        for (auto fix : {&Dive::FixWhole, &Dive::FixBatch}) {
            const int fixed = (this->*fix)(used, slack, room);
            if (fixed == 0)
                continue;
            const bool ok = Node(discrepancies);
            Unfix(fixed);
            if (ok || Over() || discrepancies == 0)
                return ok;
            --discrepancies;
        }
        int tried = 0;
        for (const auto& [x, bar] : used) {
            if (tried > discrepancies)
                break;
            if (Forbidden(bar))
                continue;
            const int n = Fix(bar, 1);
            const bool ok = n > 0 && Node(discrepancies - tried);
            Unfix(n);
            if (ok)
                return true;
            if (Over())
                return false;
            forbidden_.push_back(bar);
            ++tried;
        }
        forbidden_.resize(forbidden_.size() - static_cast<size_t>(tried));
        return false;
    }

    // The bars the relaxation uses that leave no more than `slack` free, by
    // level, most used first; after the first dive, weighed at random.
    std::vector<std::pair<double, Bar>> Used(long long slack) {
        std::vector<std::pair<double, Bar>> used;
        for (int c = 0; c < lp_.Columns(); ++c)
            if (const double x = lp_.Level(c);
                x > Whole && in_.capacity - BarFill(in_, lp_.Column(c)) <= slack)
                used.emplace_back(x, lp_.Column(c));
        std::vector<double> weight(used.size(), 1.0);
        if (attempt_ > 0)
            for (double& w : weight)
                w = std::uniform_real_distribution<double>(1.0 - p_.shake, 1.0 + p_.shake)(rng_);
        std::vector<size_t> order(used.size());
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return used[a].first * weight[a] > used[b].first * weight[b];
        });
        std::vector<std::pair<double, Bar>> sorted;
        for (size_t k : order)
            sorted.push_back(std::move(used[k]));
        return sorted;
    }

    // Fixes every bar used whole, as often as it is, while the free length
    // allows; how many were fixed.
    int FixWhole(const std::vector<std::pair<double, Bar>>& used, long long slack, int) {
        int whole = 0;
        long long left = slack;
        for (const auto& [x, bar] : used)
            for (int k = static_cast<int>(std::floor(x + Whole)); k > 0; --k) {
                if (Fix(bar, 1) == 0)
                    break;
                const long long free = in_.capacity - BarFill(in_, fixed_.back());
                if (free > left) {
                    Unfix(1);
                    break;
                }
                left -= free;
                ++whole;
            }
        return whole;
    }

    // Far from the end, several of the most used bars at once, as long as
    // they fit together: one node per bar is slow when there are hundreds.
    // How many were fixed: none unless at least two.
    int FixBatch(const std::vector<std::pair<double, Bar>>& used, long long slack, int room) {
        const int batch = room / p_.batchRoom;
        if (batch <= 1)
            return 0;
        int fixed = 0;
        long long left = slack;
        for (const auto& [x, bar] : used) {
            if (fixed == batch)
                break;
            bool fits = true;
            for (size_t i = 0; i < bar.size() && fits; ++i)
                fits = bar[i] <= rem_[i];
            const long long free = in_.capacity - BarFill(in_, bar);
            if (!fits || free > left || Forbidden(bar))
                continue;
            fixed += Fix(bar, 1);
            left -= free;
        }
        if (fixed > 1)
            return fixed;
        Unfix(fixed);
        return 0;
    }

    bool Forbidden(const Bar& bar) const {
        return std::find(forbidden_.begin(), forbidden_.end(), bar) != forbidden_.end();
    }

    const Instance& in_;
    PatternLp& lp_;
    int target_;
    const Stop& stop_;
    const Parameters::Dive& p_;
    std::vector<int> rem_;
    Packing fixed_;
    Packing best_;
    std::vector<Bar> forbidden_;
    bool searched_ = false; // the exact search had the remainder on this path
    int nodes_ = 0;
    unsigned attempt_;
    std::mt19937 rng_;
};

} // namespace

Packing DiveInto(const Instance& in, PatternLp& lp, int target, const Stop& stop, unsigned attempt,
                 const Parameters::Dive& parameters) {
    return Dive(in, lp, target, stop, attempt, parameters).Run();
}

} // namespace cutting::detail
