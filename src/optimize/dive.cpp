#include "colgen.h"
#include "valued_cover.h"

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
// Beyond this many sizes the relaxation is not tried (see CloseGap).
constexpr int MostTypes = 1500;
// The first try of the integer program over the bars nearly worth 1 (see
// CloseGap): the first two runs of its branch and cut, one by each rule.
constexpr long long FirstCover = WorkOf(std::chrono::milliseconds(500));
// Beyond this many pieces a bar on average, or this much work to solve the
// relaxation to the end once its bound is reached, the bars nearly worth 1 are
// far too many to list: seen on the published instance classes and workshop
// orders, where those that could be listed had about four pieces a bar and
// took at most 16 ms.
constexpr long long CoverPieces = 5;
constexpr long long CoverRelaxation = WorkOf(std::chrono::milliseconds(30));
// Less time than this is not worth another dive.
constexpr auto LastDive = std::chrono::milliseconds(20);

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
    Dive(const Instance& in, PatternLp& lp, int target, const Stop& stop, unsigned attempt)
        : in_(in), lp_(lp), target_(target), stop_(stop), rem_(in.demand), attempt_(attempt),
          rng_(attempt) {}

    // The fewest bars found, whether or not the target was met.
    Packing Run() {
        Node(MaxDiscrepancy);
        return best_;
    }

private:
    // Found by trial on the classic instance classes: two discrepancies
    // (with three, a dive backtracks deep down where the mistake was made
    // near the top, and takes the time of the next dive, which goes another
    // way), about 50 ms of work for the relaxation of one node, one node for
    // every eight bars left far from the end, the exact search once eight
    // bars or fewer are left, weights within 30 % either way for the dives
    // after the first, and at most 64 nodes a dive (one that meets the bound
    // takes a few dozen; one that goes astray early rarely comes back by
    // backtracking, and the next dive takes another way down).
    static constexpr int MaxDiscrepancy = 2;
    static constexpr long long NodeRelaxation = WorkOf(std::chrono::milliseconds(50));
    static constexpr int BatchRoom = 8;
    static constexpr int SmallRoom = 8;
    static constexpr long long SearchBudget = WorkOf(std::chrono::milliseconds(30));
    static constexpr long long DemandWork = 4; // steps of work a size of a column
    static constexpr double Shake = 0.3;
    static constexpr int MostNodes = 64;

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
    bool Over() const { return nodes_ >= MostNodes || stop_.Now(); }

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
        const PatternLp::Status status = lp_.Solve(room + 1, stop_, NodeRelaxation, false);
        if (status == PatternLp::Status::Failed || stop_.Now() || lp_.Bound() > room)
            return false;
        // The first small remainder on the way down goes to the exact search;
        // when that fails, the dive goes on to the end.
        if (room <= SmallRoom && !searched_) {
            bool exhausted = false;
            Packing rest = SearchPacking(r.in, room, stop_.Within(SearchBudget), exhausted);
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

    bool Branch(const Remainder& r, int room, int discrepancies) {
        // The bars to fix, most used first: all those used whole at once, or
        // else one of the fractional ones. A bar that leaves more free length
        // than the bars left may leave in all cannot be part of the packing.
        const long long slack = static_cast<long long>(room) * in_.capacity - r.in.TotalSize();
        std::vector<std::pair<double, Bar>> used;
        for (int c = 0; c < lp_.Columns(); ++c)
            if (const double x = lp_.Level(c);
                x > Whole && in_.capacity - BarFill(in_, lp_.Column(c)) <= slack)
                used.emplace_back(x, lp_.Column(c));
        std::vector<double> weight(used.size(), 1.0);
        if (attempt_ > 0)
            for (double& w : weight)
                w = std::uniform_real_distribution<double>(1.0 - Shake, 1.0 + Shake)(rng_);
        std::vector<size_t> order(used.size());
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return used[a].first * weight[a] > used[b].first * weight[b];
        });
        std::vector<std::pair<double, Bar>> sorted;
        for (size_t k : order)
            sorted.push_back(std::move(used[k]));
        used = std::move(sorted);
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
        if (whole > 0) {
            const bool ok = Node(discrepancies);
            Unfix(whole);
            if (ok || Over() || discrepancies == 0)
                return ok;
            --discrepancies;
        }
        // Far from the end, several of the most used bars at once, as long as
        // they fit together: one node per bar is slow when there are hundreds.
        if (const int batch = room / BatchRoom; batch > 1) {
            int fixed = 0;
            left = slack;
            for (const auto& [x, bar] : used) {
                if (fixed == batch)
                    break;
                bool fits = true;
                for (size_t i = 0; i < bar.size() && fits; ++i)
                    fits = bar[i] <= rem_[i];
                const long long free = in_.capacity - BarFill(in_, bar);
                if (!fits || free > left ||
                    std::find(forbidden_.begin(), forbidden_.end(), bar) != forbidden_.end())
                    continue;
                fixed += Fix(bar, 1);
                left -= free;
            }
            if (fixed > 1) {
                const bool ok = Node(discrepancies);
                Unfix(fixed);
                if (ok || Over() || discrepancies == 0)
                    return ok;
                --discrepancies;
            } else {
                Unfix(fixed);
            }
        }
        int tried = 0;
        for (const auto& [x, bar] : used) {
            if (tried > discrepancies)
                break;
            if (std::find(forbidden_.begin(), forbidden_.end(), bar) != forbidden_.end())
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

    const Instance& in_;
    PatternLp& lp_;
    int target_;
    const Stop& stop_;
    std::vector<int> rem_;
    Packing fixed_;
    Packing best_;
    std::vector<Bar> forbidden_;
    bool searched_ = false; // the exact search had the remainder on this path
    int nodes_ = 0;
    unsigned attempt_;
    std::mt19937 rng_;
};

// Bars of two or three pieces that leave no more free length than all bars
// together may leave, as the sizes they hold; none when there are more than
// `most`. When the pieces must fill the bars almost exactly, the relaxation
// needs nearly all such bars, and column generation finds them one by one at
// great cost.
std::vector<std::array<size_t, 3>> NearlyFull(const Instance& in, long long slack, size_t most,
                                              const Stop& stop) {
    constexpr size_t None = std::numeric_limits<size_t>::max();
    const size_t m = in.size.size();
    // The sizes are decreasing: the ones from `from` on within [lo, hi].
    auto within = [&](size_t from, long long lo, long long hi) {
        const auto begin = in.size.begin() + static_cast<std::ptrdiff_t>(from);
        const auto first =
            std::partition_point(begin, in.size.end(), [&](int s) { return s > hi; });
        const auto last =
            std::partition_point(first, in.size.end(), [&](int s) { return s >= lo; });
        return std::make_pair(static_cast<size_t>(first - in.size.begin()),
                              static_cast<size_t>(last - in.size.begin()));
    };
    std::vector<std::array<size_t, 3>> bars;
    for (size_t i = 0; i < m && !stop.Now(); ++i) {
        stop.Spend(16 * static_cast<long long>(m - i));
        for (size_t j = i; j < m; ++j) {
            const long long left = static_cast<long long>(in.capacity) - in.size[i] - in.size[j];
            if (left < 0 || (j == i && in.demand[i] < 2))
                continue;
            if (left <= slack)
                bars.push_back({i, j, None});
            const auto [first, last] = within(j, left - slack, left);
            for (size_t k = first; k < last; ++k) {
                const int copies = 1 + (k == i) + (k == j);
                if (copies <= in.demand[k])
                    bars.push_back({i, j, k});
            }
            if (bars.size() > most)
                return {};
        }
    }
    return bars;
}

} // namespace

void CloseGap(const Instance& in, SparsePacking& best, int& lowerBound, const Stop& stop,
              Clock::time_point divesEnd) {
    // Every bar and column holds a count for each size: with thousands of
    // sizes the relaxation takes more memory and time than a plan may.
    if (in.Types() > MostTypes)
        return;
    const Stop untilDivesEnd = stop.Until(divesEnd);
    PatternLp lp(in);
    for (const Bar& bar : Dense(best, in.size.size()))
        lp.Add(bar);
    const long long slack = static_cast<long long>(lowerBound) * in.capacity - in.TotalSize();
    const size_t most = 20 * in.size.size();
    Bar bar(in.size.size(), 0);
    for (const auto& sizes : NearlyFull(in, slack, most, untilDivesEnd)) {
        for (size_t i : sizes)
            if (i < bar.size())
                ++bar[i];
        lp.Add(bar);
        for (size_t i : sizes)
            if (i < bar.size())
                --bar[i];
    }
    const int bars = static_cast<int>(best.size());
    // Half the time for the bound. A relaxation that needs more is no guide
    // for a dive either: the time left is better spent by the search.
    const Stop solveStop = stop.Until(Clock::now() + (divesEnd - Clock::now()) / 2);
    const PatternLp::Status status = lp.Solve(bars, solveStop);
    lowerBound = std::max(lowerBound, lp.Bound());
    if (status != PatternLp::Status::Optimal && status != PatternLp::Status::Bounded)
        return;
    auto gap = [&] { return static_cast<int>(best.size()) > lowerBound; };

    // Takes what the integer program over the bars nearly worth 1 settles
    // (its "none" is a proof); it is done with once it settles anything.
    std::unique_ptr<ValuedCover> cover;
    auto settle = [&](const Stop& coverStop) {
        Packing found;
        const ValuedCover::Outcome outcome = cover->Search(coverStop, found);
        if (outcome == ValuedCover::Outcome::Found && found.size() < best.size() &&
            IsValidPacking(in, found))
            best = Sparse(found);
        else if (outcome == ValuedCover::Outcome::None)
            ++lowerBound;
        if (outcome != ValuedCover::Outcome::Open)
            cover.reset();
    };
    // With the relaxation solved to the end, its values leave few bars that
    // a packing into `lowerBound` bars can hold. The integer program over
    // them finds that packing or proves there is none, where the dives only
    // find one, and only by luck when the relaxation leaves many ways. A
    // short try first: a packing it finds at once saves the dives; then the
    // dives, which find most packings sooner; then it has all the time left.
    const bool fewPieces = in.Pieces() <= CoverPieces * static_cast<long long>(lowerBound);
    if (gap() && fewPieces && ValuedCover::Fits(in) &&
        lp.Solve(std::numeric_limits<int>::max(), solveStop, CoverRelaxation, true, true) ==
            PatternLp::Status::Optimal) {
        cover = std::make_unique<ValuedCover>(in, lp.BoundValues(), lowerBound);
        if (cover->List(untilDivesEnd))
            settle(untilDivesEnd.Within(FirstCover));
        else
            cover.reset();
    }
    // The dives follow the bars themselves.
    lp.CutShorter(false);
    // A dive that misses the bound still offers the best packing it met.
    // Each dive may take half the time left, so that others can take other
    // ways down when it goes astray.
    for (unsigned attempt = 0; gap(); ++attempt) {
        const auto left = divesEnd - Clock::now();
        if (untilDivesEnd.Now() || left < LastDive)
            break;
        Packing found =
            Dive(in, lp, lowerBound, untilDivesEnd.Until(Clock::now() + left / 2), attempt).Run();
        if (!found.empty() && found.size() < best.size() && IsValidPacking(in, found))
            best = Sparse(found);
    }
    if (gap() && cover && !stop.Now())
        settle(stop);
}

} // namespace cutting::detail
