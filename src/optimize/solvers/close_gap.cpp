#include "close_gap.h"

#include "dive.h"

#include "optimize/exact/valued_cover.h"
#include "optimize/lp/pattern_lp.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace cutting::detail {

namespace {

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

// The relaxation's first columns: the plan's bars, and the bars of two or
// three pieces that leave no more free length than all bars may leave.
void Seed(PatternLp& lp, const Instance& in, const SparsePacking& best, int lowerBound,
          const Stop& stop) {
    for (const Bar& bar : Dense(best, in.size.size()))
        lp.Add(bar);
    const long long slack = static_cast<long long>(lowerBound) * in.capacity - in.TotalSize();
    const size_t most = 20 * in.size.size();
    Bar bar(in.size.size(), 0);
    for (const auto& sizes : NearlyFull(in, slack, most, stop)) {
        for (size_t i : sizes)
            if (i < bar.size())
                ++bar[i];
        lp.Add(bar);
        for (size_t i : sizes)
            if (i < bar.size())
                --bar[i];
    }
}

// Dives while the plan is above the bound. A dive that misses the bound
// still offers the best packing it met. Each dive may take half the work
// left, so that others can take other ways down when it goes astray.
void Dives(const Instance& in, PatternLp& lp, SparsePacking& best, int lowerBound, const Stop& stop,
           const Parameters::Dive& p) {
    for (unsigned attempt = 0; static_cast<int>(best.size()) > lowerBound; ++attempt) {
        const long long left = stop.Left();
        if (stop.Now() || left < p.lastDive)
            break;
        Packing found = DiveInto(in, lp, lowerBound, stop.Within(left / 2), attempt, p);
        if (!found.empty() && found.size() < best.size() && IsValidPacking(in, found))
            best = Sparse(found);
    }
}

} // namespace

void CloseGap(const Instance& in, SparsePacking& best, int& lowerBound, const Stop& stop,
              const Stop& untilDivesEnd, const Parameters::Dive& p) {
    // Every bar and column holds a count for each size: with thousands of
    // sizes the relaxation takes more memory and time than a plan may.
    if (in.Types() > p.mostTypes)
        return;
    PatternLp lp(in);
    Seed(lp, in, best, lowerBound, untilDivesEnd);
    const int bars = static_cast<int>(best.size());
    // Half the time for the bound. A relaxation that needs more is no guide
    // for a dive either: the time left is better spent by the search.
    const Stop solveStop = untilDivesEnd.Within(untilDivesEnd.Left() / 2);
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
    const bool fewPieces = in.Pieces() <= p.coverPieces * static_cast<long long>(lowerBound);
    if (p.valuedCover && gap() && fewPieces && ValuedCover::Fits(in) &&
        lp.Solve(std::numeric_limits<int>::max(), solveStop, p.coverRelaxation, true, true) ==
            PatternLp::Status::Optimal) {
        cover = std::make_unique<ValuedCover>(in, lp.BoundValues(), lowerBound);
        if (cover->List(untilDivesEnd))
            settle(untilDivesEnd.Within(p.firstCover));
        else
            cover.reset();
    }
    // The dives follow the bars themselves.
    lp.CutShorter(false);
    Dives(in, lp, best, lowerBound, untilDivesEnd, p);
    if (gap() && cover && !stop.Now())
        settle(stop);
}

} // namespace cutting::detail
