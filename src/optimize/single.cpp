#include "colgen.h"
#include "solve.h"

#include <algorithm>

namespace cutting::detail {

void Reporter::operator()(int bars, long long length, int lowerBound, long long lowerBoundLength) {
    if (!control_.progress)
        return;
    if (told_ && bars == last_.bars && length == last_.boughtLength &&
        lowerBound == last_.lowerBound && lowerBoundLength == last_.lowerBoundLength)
        return;
    told_ = true;
    last_ = {bars, length, lowerBound, lowerBoundLength,
             std::chrono::duration<double>(Clock::now() - start_).count()};
    control_.progress(last_);
}

namespace {

// FullestFill's table holds every length of the bar for every size, rebuilt
// for each bar: beyond this many entries it costs more than it brings.
constexpr long long FullestFillTable = 4000000;
// The relaxation of bars told apart by their long pieces settles the orders
// it settles at all within about two thirds of this.
constexpr long long AnchoredWork = WorkOf(std::chrono::milliseconds(400));

// Takes `candidate` when it is a valid packing into fewer bars.
void Improve(const Instance& in, SparsePacking& best, SparsePacking&& candidate) {
    if (!candidate.empty() && (best.empty() || candidate.size() < best.size()) &&
        IsValidPacking(in, candidate))
        best = std::move(candidate);
}

} // namespace

Solution SolveSingle(const Instance& in, long long stock, double timeLimit, const Stop& stop,
                     Reporter& report) {
    const auto start = Clock::now();
    const auto budget = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(timeLimit, 0.0)));
    int lowerBound = std::max(BoundBySize(in), BoundMartelloToth(in));
    // The plan keeps its bars sparse: with thousands of sizes, a count for
    // every size would make the first plan, and handing any plan in after a
    // stop, take a good part of a second.
    SparsePacking packing = FirstFitSparse(in);
    Improve(in, packing, BestFitSparse(in));
    auto gap = [&] { return static_cast<int>(packing.size()) > lowerBound; };
    auto tell = [&] {
        const auto bars = static_cast<int>(packing.size());
        const int bound = std::min(lowerBound, bars);
        report(bars, bars * stock, bound, bound * stock);
    };
    tell();
    // Counting the long pieces often proves more than the bounds above;
    // where it proves just as much, the relaxation of bars built around
    // them may prove a bar more, which no plan found would ever show.
    const Stop anchored = stop.Within(AnchoredWork);
    while (gap() && AnchoredBoundRules(in, lowerBound, anchored))
        ++lowerBound;
    tell();

    // When the bars must be nearly full, an exact cover by such bars often
    // settles the matter at once, one way or the other.
    CoverSearch cover(in, lowerBound);
    auto runCover = [&](const Stop& share) {
        bool exhausted = false;
        Packing found = cover.Run(share, exhausted);
        if (found.empty() && exhausted)
            lowerBound = std::max(lowerBound, cover.Bars() + 1);
        Improve(in, packing, Sparse(found));
        tell();
    };
    if (gap())
        runCover(stop.Until(start + budget / 3));
    if (gap() && static_cast<long long>(in.capacity) * in.Types() <= FullestFillTable)
        Improve(in, packing,
                Sparse(FullestFill(in, 3, 1u, stop.Until(Clock::now() + budget / 10))));
    if (gap()) {
        tell();
        // A short search for a packing that meets the bound often settles the
        // matter before the relaxation is worth its price.
        bool exhausted = false;
        SparsePacking found =
            SearchSparse(in, lowerBound, stop.Until(Clock::now() + budget / 10), exhausted);
        if (found.empty() && exhausted)
            ++lowerBound;
        Improve(in, packing, std::move(found));
        tell();
    }
    if (gap() && !stop.Now()) {
        // The pattern relaxation's bound, and dives into it for a packing that
        // meets the bound. The search below keeps the last third of the time
        // (where the relaxation is too slow to guide a dive, it often still
        // saves a bar or two), unless the relaxation leaves few bars that a
        // packing at the bound can hold: the search among them then takes it.
        CloseGap(in, packing, lowerBound, stop, start + budget - budget / 3);
        tell();
    }
    // A cover search its share cut short often needed only a little more:
    // it goes on where it was with half of what is left.
    if (gap() && cover.Stopped() && cover.Bars() == lowerBound && !stop.Now()) {
        const auto now = Clock::now();
        runCover(stop.Until(now + (stop.Deadline() - now) / 2));
    }
    while (gap() && !stop.Now()) {
        bool exhausted = false;
        const int bars = static_cast<int>(packing.size());
        SparsePacking found = SearchSparse(in, bars - 1, stop, exhausted);
        if (!found.empty())
            Improve(in, packing, std::move(found));
        else if (exhausted)
            lowerBound = bars;
        else
            break;
        tell();
    }
    tell(); // the plan handed in is the last one told
    Solution s;
    s.lowerBound = std::min(lowerBound, static_cast<int>(packing.size()));
    s.lowerBoundLength = s.lowerBound * stock;
    for (SparseBar& bar : packing)
        s.bars.push_back({0, std::move(bar)});
    return s;
}

} // namespace cutting::detail
