#include "single.h"

#include "close_gap.h"
#include "solution.h"

#include "optimize/bounds/anchored.h"
#include "optimize/bounds/bounds.h"
#include "optimize/exact/bar_completion.h"
#include "optimize/exact/cover_search.h"
#include "optimize/heuristics/fits.h"
#include "optimize/heuristics/fullest.h"
#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <optional>

namespace cutting::detail {

namespace {

// The phases of a plan on one stock length of any number, in order, each
// while the plan has more bars than the bound:
// - the size and L2 bounds and first and best fit decreasing;
// - the bound of bars built around their long pieces, which often proves
//   more than those bounds, and where it proves just as much, the relaxation
//   of such bars may prove a bar more that no plan found would ever show;
// - the exact cover of nearly full bars, which often settles the matter at
//   once, one way or the other;
// - fullest fills, and a short bar-completion search for a packing at the
//   bound, which often settles it before the relaxation is worth its price;
// - the pattern relaxation's bound and the dives into it (CloseGap);
// - the cover search again where its share cut it short (it often needed
//   only a little more), then the bar-completion search to the limit.
class SingleSolver {
public:
    SingleSolver(const Instance& in, long long stock, double timeLimit, const Stop& stop,
                 const Report& report, const Parameters& parameters)
        : in_(in), stock_(stock), stop_(stop), report_(report), p_(parameters.single),
          dive_(parameters.dive), shares_(stop, timeLimit),
          lowerBound_(std::max(BoundBySize(in), BoundMartelloToth(in))) {}

    Solution Solve() {
        // The plan keeps its bars sparse: with thousands of sizes, a count for
        // every size would make the first plan, and handing any plan in after
        // a stop, take a good part of a second.
        packing_ = FirstFitSparse(in_);
        Improve(BestFitSparse(in_));
        Tell();
        if (p_.anchoredBound) {
            const Stop anchored = stop_.Within(p_.anchoredWork);
            while (Gap() && AnchoredBoundRules(in_, lowerBound_, anchored))
                ++lowerBound_;
            Tell();
        }
        cover_.emplace(in_, lowerBound_);
        if (p_.cover && Gap())
            RunCover(shares_.Until(p_.coverShare));
        if (p_.fullestFill && Gap() &&
            static_cast<long long>(in_.capacity) * in_.Types() <= p_.fullestFillTable)
            Improve(Sparse(FullestFill(in_, 3, 1u, shares_.For(p_.fullestFillShare))));
        if (p_.search && Gap())
            Search(shares_.For(p_.searchShare), false);
        if (p_.relaxation && Gap() && !stop_.Now()) {
            // The search below keeps the rest of the time (where the
            // relaxation is too slow to guide a dive, it often still saves a
            // bar or two), unless the relaxation leaves few bars that a
            // packing at the bound can hold: the search among them takes it.
            CloseGap(in_, packing_, lowerBound_, stop_, shares_.Until(p_.relaxationEnd), dive_);
            Tell();
        }
        if (p_.coverAgain && Gap() && cover_->Stopped() && cover_->Bars() == lowerBound_ &&
            !stop_.Now())
            RunCover(shares_.HalfOfTheRest());
        while (p_.lastSearch && Gap() && !stop_.Now())
            if (!Search(stop_, true))
                break;
        Tell(); // the plan handed in is the last one told
        Solution s;
        s.lowerBound = std::min(lowerBound_, static_cast<int>(packing_.size()));
        s.lowerBoundLength = s.lowerBound * stock_;
        for (SparseBar& bar : packing_)
            s.bars.push_back({0, std::move(bar)});
        return s;
    }

private:
    bool Gap() const { return static_cast<int>(packing_.size()) > lowerBound_; }

    // Takes `candidate` when it is a valid packing into fewer bars.
    void Improve(SparsePacking&& candidate) {
        if (!candidate.empty() && (packing_.empty() || candidate.size() < packing_.size()) &&
            IsValidPacking(in_, candidate))
            packing_ = std::move(candidate);
    }

    void RunCover(const Stop& share) {
        bool exhausted = false;
        Packing found = cover_->Run(share, exhausted);
        if (found.empty() && exhausted)
            lowerBound_ = std::max(lowerBound_, cover_->Bars() + 1);
        Improve(Sparse(found));
        Tell();
    }

    // Searches for a packing at the bound, or, `fewer`, into a bar fewer than
    // the plan has; false when it neither found one nor ruled it out.
    bool Search(const Stop& stop, bool fewer) {
        bool exhausted = false;
        const int bars = fewer ? static_cast<int>(packing_.size()) - 1 : lowerBound_;
        SparsePacking found = SearchSparse(in_, bars, stop, exhausted);
        const bool settled = !found.empty() || exhausted;
        if (found.empty() && exhausted)
            lowerBound_ = bars + 1;
        Improve(std::move(found));
        Tell();
        return settled;
    }

    void Tell() {
        const auto bars = static_cast<int>(packing_.size());
        const int bound = std::min(lowerBound_, bars);
        report_(bars, bars * stock_, bound, bound * stock_);
    }

    const Instance& in_;
    const long long stock_;
    const Stop& stop_;
    const Report& report_;
    const Parameters::Single& p_;
    const Parameters::Dive& dive_;
    const Shares shares_;
    int lowerBound_;
    SparsePacking packing_;
    std::optional<CoverSearch> cover_; // made once the bound is known
};

} // namespace

Solution SolveSingle(const Instance& in, long long stock, double timeLimit, const Stop& stop,
                     const Report& report, const Parameters& parameters) {
    return SingleSolver(in, stock, timeLimit, stop, report, parameters).Solve();
}

} // namespace cutting::detail
