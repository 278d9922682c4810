// Each phase of a plan on its own, the others switched off: what it finds and
// what it proves, so that a phase that stops doing its part is seen even where
// the others would cover for it in a whole plan.

#include "optimize/cutting.h"
#include "optimize/exact/bar_completion.h"
#include "optimize/exact/cover_search.h"
#include "optimize/heuristics/fits.h"
#include "optimize/heuristics/fullest.h"
#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"
#include "optimize/solvers/bar_counts.h"
#include "optimize/solvers/bar_moves.h"
#include "optimize/solvers/close_gap.h"
#include "optimize/solvers/stock_sums.h"
#include "plan_check.h"

#include "test_instances.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <vector>

namespace {

using cutting::CutItem;
using cutting::Parameters;
constexpr auto V = cutting::PieceKind::Vertical;

// Only the phases `keep` leaves on, besides first and best fit and the size
// and L2 bounds.
Parameters Only(const std::function<void(Parameters::Single&)>& keep) {
    Parameters p;
    Parameters::Single& s = p.single;
    s.anchoredBound = s.cover = s.fullestFill = s.search = s.relaxation = s.coverAgain =
        s.lastSearch = false;
    p.dive.valuedCover = false;
    keep(s);
    return p;
}

cutting::Plan PlanWith(const std::vector<CutItem>& items, const cutting::Settings& s,
                       const Parameters& parameters) {
    cutting::Control control;
    control.parameters = &parameters;
    const cutting::Result r = cutting::PlanCutting(items, s, control);
    EXPECT_TRUE(r.ok) << r.error;
    CheckPlan(items, s, r.plan);
    return r.plan;
}

// `bars` bars of `stock`, each cut into three pieces, every length once.
std::vector<CutItem> Thirds(int bars, int stock, std::mt19937& rng) {
    std::vector<CutItem> items;
    for (int bar = 0; bar < bars; ++bar)
        for (;;) {
            const int a = Rand(rng, stock / 4, stock / 2 - 1),
                      b = Rand(rng, stock / 4, stock / 2 - 1);
            const int c = stock - a - b;
            if (c >= stock / 4 && c < stock / 2) {
                for (int piece : {a, b, c})
                    items.push_back({bar + 1, V, piece, 1});
                break;
            }
        }
    return items;
}

struct PhaseCase {
    const char* name;
    std::function<void(Parameters::Single&)> keep;
    bool proves; // the optimum, alone: else it only finds a better plan
};

const std::vector<PhaseCase>& SinglePhases() {
    static const std::vector<PhaseCase> phases = {
        {"exact cover", [](Parameters::Single& p) { p.cover = true; }, true},
        {"fullest fills", [](Parameters::Single& p) { p.fullestFill = true; }, false},
        {"bar completion", [](Parameters::Single& p) { p.search = true; }, true},
        {"relaxation and dives", [](Parameters::Single& p) { p.relaxation = true; }, true},
        {"bar completion to the end", [](Parameters::Single& p) { p.lastSearch = true; }, true},
    };
    return phases;
}

TEST(Phases, EachPhaseOfOneLengthAloneFindsOrProvesItsPart) {
    // Forty bars each filled exactly by three pieces: first and best fit
    // need 45, every search finds the 40 and the fills come close.
    std::mt19937 rng(4);
    const std::vector<CutItem> thirds = Thirds(40, 1000, rng);
    // A plan proven ends there whatever its limit: a long one keeps the
    // phases that search to the end from stopping on the clock of a slow
    // (sanitised) build.
    const cutting::Settings s{1000, 0, 0, 60.0};
    const cutting::Plan none = PlanWith(thirds, s, Only([](Parameters::Single&) {}));
    ASSERT_GT(none.bars, 41) << "the fits alone find the optimum: the test tells nothing";
    ASSERT_FALSE(none.optimal);
    // Five pieces of 34 on 100: the size and L2 bounds say 2, only a search
    // or the relaxation proves the 3.
    const std::vector<CutItem> thirdsOfABar{{1, V, 34, 5}};
    ASSERT_EQ(
        PlanWith(thirdsOfABar, {100, 0, 0, 60.0}, Only([](Parameters::Single&) {})).lowerBound, 2);
    for (const PhaseCase& phase : SinglePhases()) {
        SCOPED_TRACE(phase.name);
        const cutting::Plan alone = PlanWith(thirds, s, Only(phase.keep));
        EXPECT_EQ(alone.optimal, phase.proves);
        EXPECT_LE(alone.bars, phase.proves ? 40 : 41);
        EXPECT_EQ(PlanWith(thirdsOfABar, {100, 0, 0, 60.0}, Only(phase.keep)).optimal,
                  phase.proves);
    }
}

TEST(Phases, TheRelaxationOverSeveralKindsProvesWhatTheLengthBoundCannot) {
    // Pieces of 6 on bars of 10 or 7, one piece a bar: three bars of 7, 21.
    // The length bound says 18, and the least sum of bars above it 20.
    const std::vector<CutItem> items{{1, V, 6, 3}};
    cutting::Settings s;
    s.stocks = {{10, cutting::Unlimited}, {7, cutting::Unlimited}};
    Parameters without;
    without.mixed.relaxation = without.mixed.byCounts = false;
    const cutting::Plan bound = PlanWith(items, s, without);
    EXPECT_EQ(bound.boughtLength, 21);
    EXPECT_EQ(bound.lowerBoundLength, 20);
    // Either the relaxation or ruling out the counts of bars that add up to
    // 20 (two of 10) proves it.
    for (bool relaxation : {true, false}) {
        Parameters one;
        one.mixed.relaxation = relaxation;
        one.mixed.byCounts = !relaxation;
        const cutting::Plan proven = PlanWith(items, s, one);
        EXPECT_EQ(proven.boughtLength, 21);
        EXPECT_TRUE(proven.optimal) << relaxation;
    }
}

// The solver's view of an order: one size a length, longest first.
cutting::detail::Instance SolverView(const std::vector<CutItem>& items, int capacity) {
    std::map<int, int, std::greater<>> demand;
    for (const CutItem& item : items)
        demand[item.length] += item.count;
    cutting::detail::Instance in{capacity, {}, {}};
    for (const auto& [length, count] : demand) {
        in.size.push_back(length);
        in.demand.push_back(count);
    }
    return in;
}

TEST(Phases, EachSearchSettlesItsPartWithinItsWork) {
    // The phases get shares of the limit's work: a search that needs far
    // more work than it does today (a lost pruning rule, a worse order of
    // trying) no longer settles its part within its share. Each budget is
    // one and a half to twice what the search takes, counted in steps, not
    // on the clock.
    using namespace cutting::detail;
    std::mt19937 rng(4);
    const Instance in = SolverView(Thirds(40, 1000, rng), 1000);
    const cutting::Stop plenty(cutting::Clock::now() + std::chrono::minutes(5));
    bool exhausted = false;
    EXPECT_EQ(SearchSparse(in, 40, plenty.Within(2000000), exhausted).size(), 40u)
        << "bar completion";
    // 300 pieces from 100 long bars: 62 million steps, where a search that
    // weighs on past a piece with no way to fill a bar finds nothing in 200.
    std::mt19937 rngThree(2);
    const Instance three = SolverView(Thirds(100, 6000, rngThree), 6000);
    EXPECT_EQ(SearchSparse(three, 100, plenty.Within(100000000), exhausted).size(), 100u)
        << "bar completion of long bars";
    // The exact cover needs 205 000 steps on this one; with a looser rule
    // for setting a size aside, 358 000.
    std::mt19937 rngCover(6);
    const Instance cover = SolverView(Thirds(40, 1000, rngCover), 1000);
    EXPECT_EQ(CoverPacking(cover, 40, plenty.Within(300000), exhausted).size(), 40u)
        << "exact cover";
    EXPECT_EQ(FullestFill(in, 3, 1u, plenty.Within(4000000)).size(), 41u) << "fullest fills";
    // Here the first round needs 42 bars; the second, taking the sizes in
    // another order, finds 41.
    std::mt19937 rngRounds(3);
    const Instance rounds = SolverView(Thirds(40, 1000, rngRounds), 1000);
    EXPECT_EQ(FullestFill(rounds, 2, 1u, plenty).size(), 41u) << "a second round of fills";
    // On long bars a round of fills looks at its budget only every few
    // million steps; 103 bars, in about half the work given.
    std::mt19937 rngLong(6);
    const Instance longBars = SolverView(Thirds(100, 6000, rngLong), 6000);
    EXPECT_EQ(FullestFill(longBars, 1, 1u, plenty.Within(60000000)).size(), 103u)
        << "fullest fills of long bars";
    // A fill of a bar a kilometre long stopped on its way is no bar.
    const Instance kilometre{1000000, {300000, 200000, 170000, 130000, 110000}, {1, 1, 1, 1, 1}};
    Bar bar(kilometre.size.size(), 0);
    EXPECT_FALSE(FullestBar().Find(kilometre, kilometre.demand, kilometre.capacity, {0, 1, 2, 3, 4},
                                   plenty.Within(0), bar))
        << "a fullest bar stopped";
}

TEST(Phases, TheRelaxationAndTheDivesSettleTheirPartWithinTheirWork) {
    using namespace cutting::detail;
    std::mt19937 rng(4);
    const Instance in = SolverView(Thirds(40, 1000, rng), 1000);
    const cutting::Stop plenty(cutting::Clock::now() + std::chrono::minutes(5));
    SparsePacking best = FirstFitSparse(in);
    int bound = 39;
    const cutting::Stop dives = plenty.Within(60000000);
    CloseGap(in, best, bound, dives, dives, Parameters::Dive{});
    EXPECT_EQ(best.size(), 40u) << "the dives";
    EXPECT_EQ(bound, 40) << "the relaxation";
    // A search among the bars nearly worth 1 that runs out of work proves
    // nothing: the bound stays where the relaxation put it.
    Parameters::Dive noCoverWork;
    noCoverWork.firstCover = 0;
    best = FirstFitSparse(in);
    CloseGap(in, best, bound, dives, dives, noCoverWork);
    EXPECT_EQ(best.size(), 40u);
    EXPECT_EQ(bound, 40) << "an unfinished search";
    // With no batches of bars, the dives fix every bar the relaxation uses
    // whole at once: 300 pieces cut from 100 bars meet their bound in 114
    // million steps of the 300 given (the first dive may take half), where
    // fixing a bar a node ends four or five bars above it.
    Parameters::Dive wholeAtOnce;
    wholeAtOnce.valuedCover = false;
    wholeAtOnce.batchRoom = 1000000;
    std::mt19937 rngHundred(1);
    const Instance hundred = SolverView(Thirds(100, 1000, rngHundred), 1000);
    best = FirstFitSparse(hundred);
    bound = 100;
    const cutting::Stop wholeDives = plenty.Apart().Within(300000000);
    CloseGap(hundred, best, bound, wholeDives, wholeDives, wholeAtOnce);
    EXPECT_EQ(best.size(), 100u) << "bars used whole";
}

// Seventeen long bars of 11650 and a short bar of seventeen 100s.
cutting::detail::Assigned SpreadOut() {
    cutting::detail::Assigned bars(17, {1, {{0, 1}}});
    bars.push_back({0, {{1, 17}}});
    return bars;
}

// Three long bars of three 3000s, and sixteen offcuts of 1000 on hand holding
// a 900 each: less filled than any bought bar.
cutting::detail::Assigned WithOffcuts() {
    cutting::detail::Assigned bars(3, {1, {{0, 3}}});
    bars.insert(bars.end(), 16, {2, {{1, 1}}});
    return bars;
}

} // namespace

// The moves on their own: bars that fit one cheaper bar together become it,
// and a bar whose pieces partly move into another's room goes down a kind.
TEST(BarMoves, MakeAPlanCheaperAndKeepItACutOfEveryPiece) {
    using cutting::detail::Assigned;
    using cutting::detail::Kind;
    const std::vector<Kind> kinds = {{6000, 6000, -1}, {11750, 11750, -1}};
    struct Case {
        const char* name;
        cutting::detail::Instance in;
        Assigned bars;
        long long cost;               // after the moves
        std::vector<Kind> kinds = {}; // when not the two stock lengths above
    };
    const Case cases[] = {
        // 5800 and 5700 on two short bars fit one long one.
        {"merge", {11750, {5800, 5700}, {1, 1}}, {{0, {{0, 1}}}, {0, {{1, 1}}}}, 11750},
        // 6500 on a long bar: its 500 fits the room of the short bar beside
        // it, which leaves 6000 for a short bar; the two together hold 12000,
        // too much for one long bar.
        {"downsize",
         {11750, {5000, 1000, 500}, {2, 1, 2}},
         {{1, {{0, 1}, {1, 1}, {2, 1}}}, {0, {{0, 1}, {2, 1}}}},
         12000},
        // 7800 on a long bar sends an 1800 into the room of the first bar:
        // two short bars, full. No merge holds 12000, and first fit
        // decreasing needs three short bars or a long and a short.
        {"downsize into the first bar",
         {11750, {2400, 1800}, {2, 4}},
         {{0, {{0, 1}, {1, 1}}}, {1, {{0, 1}, {1, 3}}}},
         12000},
        {"downsize the first bar",
         {11750, {2400, 1800}, {2, 4}},
         {{1, {{0, 1}, {1, 3}}}, {0, {{0, 1}, {1, 1}}}},
         12000},
        // Seventeen 100s on a short bar go one each into the room of
        // seventeen long bars: the short bar goes. No two bars fit one, and
        // repacking the sixteen least filled saves nothing.
        {"empty a bar into many", {11750, {11650, 100}, {17, 17}}, SpreadOut(), 17 * 11750},
        // Three long bars of three 3000s: two of them repacked on short bars
        // hold two each. No two fit one bar and no piece fits another's room.
        {"repack on short bars",
         {11750, {3000}, {9}},
         {{1, {{0, 3}}}, {1, {{0, 3}}}, {1, {{0, 3}}}},
         3 * 6000 + 11750},
        // Offcuts on hand cost nothing to repack: the sixteen least filled
        // bars leave the bought ones to be repacked on short bars all the same.
        {"repack the bought bars",
         {11750, {3000, 900}, {9, 16}},
         WithOffcuts(),
         3 * 6000 + 11750,
         {kinds[0], kinds[1], {1000, 0, 16}}},
        // Four pieces of 5000 on the two long bars counted, and one short bar
        // to be had: moving them onto short bars takes four bars where three
        // are to be had, so the plan stays as it is.
        {"repack within the counts",
         {11750, {5000}, {4}},
         {{1, {{0, 2}}}, {1, {{0, 2}}}},
         2 * 11750,
         {{6000, 6000, 1}, {11750, 11750, 2}}},
    };
    // Of two plans that buy alike, the one that scraps less is kept: a
    // leftover shorter than the least useful length is scrap, down to 1 mm.
    const cutting::detail::MixedProblem leftovers{{6000, {5999, 5500}, {1, 1}}, kinds, 0, 500};
    EXPECT_EQ(cutting::detail::Scored(leftovers, {{0, {{0, 1}}}, {0, {{1, 1}}}}).scrap, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const cutting::detail::MixedProblem p{c.in, c.kinds.empty() ? kinds : c.kinds, 0, 500};
        ASSERT_TRUE(cutting::detail::Valid(p, c.bars));
        const Assigned moved = cutting::detail::CheaperByMoves(p, c.bars, Never);
        EXPECT_TRUE(cutting::detail::Valid(p, moved));
        EXPECT_EQ(cutting::detail::Scored(p, moved).cost, c.cost);
    }
}

// The lengths a plan can buy: sums of whole stock bars, whatever their counts
// and the offcuts on hand. A bound on the bought length rises to the next.
TEST(StockSums, TheLengthsWholeBarsAddUpToAroundAGivenOne) {
    using cutting::detail::Kind;
    const std::vector<Kind> kinds = {{1500, 0, 1}, {6000, 6000, 1}, {11750, 11750, -1}};
    const cutting::detail::StockSums sums({{11750, {1000}, {1}}, kinds, 0, 500});
    struct Row {
        long long length, atLeast, below;
    };
    for (const Row& row :
         {Row{0, 0, -1}, Row{1, 6000, 0}, Row{6001, 11750, 6000}, Row{11751, 12000, 11750},
          Row{17751, 18000, 17750}, Row{23501, 23750, 23500}, Row{24000, 24000, 23750}}) {
        SCOPED_TRACE(row.length);
        EXPECT_EQ(sums.AtLeast(row.length), row.atLeast);
        EXPECT_EQ(sums.Below(row.length), row.below);
    }
}

// The ways of adding up stock bars to a length, and plans within the counts
// of one way, found or ruled out as one stock length with stand-ins.
TEST(BarCounts, EveryWayToALengthAndAPlanWithinEach) {
    using cutting::detail::Kind;
    // An offcut of 1500 on hand (capacity 1500, costs nothing), stock of 6000
    // and 11750 of any number.
    const std::vector<Kind> kinds = {{1500, 0, 1}, {6000, 6000, -1}, {11750, 11750, -1}};
    const cutting::detail::MixedProblem p{{11750, {5000, 1500}, {2, 1}}, kinds, 0, 500};
    struct Ways {
        long long sum;
        std::vector<std::vector<int>> counts;
    };
    for (const Ways& w : {Ways{23750, {{1, 2, 1}}}, Ways{282000, {{1, 47, 0}, {1, 0, 24}}},
                          Ways{6250, {}}, Ways{0, {{1, 0, 0}}}}) {
        SCOPED_TRACE(w.sum);
        const auto ways = cutting::detail::CountsAddingUpTo(p, w.sum, 16);
        EXPECT_TRUE(ways.complete);
        EXPECT_EQ(ways.counts, w.counts);
    }
    EXPECT_FALSE(cutting::detail::CountsAddingUpTo(p, 282000, 1).complete);

    // A plan found beyond the counts of a way ruled out is still a plan.
    struct Case {
        const char* name;
        std::vector<int> counts;
        bool ruledOut;
    };
    const Case cases[] = {
        {"two short bars and the offcut", {1, 2, 0}, false},
        {"one long bar", {0, 0, 1}, false},
        {"one short bar and the offcut", {1, 1, 0}, true},
        {"a long bar and a short one", {1, 1, 1}, false},
    };
    // A piece as long as the longest bar of a way fills it.
    const cutting::detail::MixedProblem whole{{11750, {6000}, {1}}, kinds, 0, 500};
    EXPECT_FALSE(
        cutting::detail::PlanWithCounts(whole, {0, 1, 0}, 1.0, Never, Parameters{}).ruledOut);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = cutting::detail::PlanWithCounts(p, c.counts, 1.0, Never, Parameters{});
        EXPECT_EQ(r.ruledOut, c.ruledOut);
        ASSERT_FALSE(r.bars.empty());
        EXPECT_TRUE(cutting::detail::Valid(p, r.bars));
        std::vector<int> used(kinds.size(), 0);
        for (const auto& bar : r.bars)
            ++used[static_cast<size_t>(bar.kind)];
        for (size_t k = 0; k < kinds.size() && !c.ruledOut; ++k)
            EXPECT_LE(used[k], c.counts[k]) << k;
    }
    // A piece as long as the stand-in of a short bar on a long one (5750):
    // of two copies of that size on a bar, one is the piece. A bar left with
    // stand-ins alone is not bought.
    const cutting::detail::MixedProblem alike{{11750, {5750}, {1}}, {kinds[1], kinds[2]}, 0, 500};
    const auto one = cutting::detail::PlanWithCounts(alike, {2, 1}, 1.0, Never, Parameters{});
    EXPECT_EQ(cutting::detail::Scored(alike, one.bars).cost, 6000);
}
