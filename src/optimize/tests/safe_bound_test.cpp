#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/pricing.h"
#include "optimize/lp/safe_bound.h"
#include "optimize/solvers/count_bound.h"

#include "test_instances.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace cutting::detail;

namespace {

// The Farley bound at `dual`, as the relaxations prove it: the duals made
// whole, the best bar priced over them exactly.
long long Farley(const Instance& in, const std::vector<double>& dual) {
    const WholeValues whole = WholePieceValues(in, dual, in.demand);
    Wide reach = 0;
    for (size_t i = 0; i < whole.value.size(); ++i) {
        EXPECT_GE(whole.value[i], 0);
        reach +=
            static_cast<Wide>(std::max(in.demand[i], in.capacity / in.size[i])) * whole.value[i];
    }
    EXPECT_LE(reach, MostWorth);
    Pricing pricing;
    EXPECT_TRUE(pricing.Fill(in, whole.value, in.demand, Never));
    return FarleyBound(WorthOf(whole.value, in.demand), pricing.Worth(in.capacity));
}

TEST(SafeBound, FarleyBoundIsExactWhateverTheScaleOfTheDuals) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        Instance in;
        std::vector<double> dual;
        long long bars;
    };
    const Row rows[] = {
        // Two pieces a bar, six pieces: 3 bars. In floating point the six
        // pieces are worth 0.6000000000000001 and a bar 0.2, a ratio a hair
        // above 3 that rounds up to 4, one bar more than there is.
        {{100, {50}, {6}}, {0.1}, 3},
        {{100, {34}, {5}}, {0.5}, 3},
        // Worth 3.4 bars: a part of a bar proves a whole one.
        {{1000, {600, 400}, {3, 4}}, {0.6, 0.4}, 4},
        // Duals far below and far above 1, and a count near the largest int:
        // the sums stay exact and within range.
        {{100000, {1}, {2000000000}}, {1e-5}, 20000},
        {{100000, {1}, {2000000000}}, {1e300}, 20000},
        {{1000, {600, 400, 1}, {3, 3, 1000}}, {1e200, 1e-200, 0.0}, 3},
        // Duals below 0 and not a number prove nothing.
        {{100, {60, 30}, {2, 2}}, {-1.0, nan}, 0},
        {{100, {60, 30}, {2, 2}}, {0.0, 0.0}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in.capacity);
        EXPECT_EQ(Farley(row.in, row.dual), row.bars);
    }
    const double naive = 6 * 0.1 / (0.1 + 0.1);
    EXPECT_EQ(std::ceil(naive), 4.0) << "the trap the first row stands for";
}

TEST(SafeBound, WholeNumbersOfTheFarleyBound) {
    struct Row {
        Wide needed, best;
        long long bars;
    };
    const Wide huge = Wide{MostWorth} * MostWorth;
    for (const Row& row :
         {Row{61, 1, 61}, Row{6100, 100, 61}, Row{6101, 100, 62}, Row{0, 5, 0}, Row{-7, 5, 0},
          Row{7, 0, 0}, Row{7, -1, 0}, Row{huge, 1, std::numeric_limits<long long>::max()}})
        EXPECT_EQ(FarleyBound(row.needed, row.best), row.bars)
            << static_cast<long long>(row.needed) << " / " << static_cast<long long>(row.best);
}

TEST(SafeBound, LagrangianBoundOverSeveralKinds) {
    // Five pieces worth 1 each (whole values of 1000), two to a bar of any
    // kind below: each row is the least cost no plan goes under.
    const Wide needed = 5000;
    struct Row {
        std::vector<Kind> kinds;
        std::vector<long long> price;
        long long cost;
    };
    const Row rows[] = {
        {{{100, 100, -1}}, {2000}, 250},
        // The cheaper of two lengths sets the rate.
        {{{100, 100, -1}, {70, 70, -1}}, {2000, 2000}, 175},
        // One offcut on hand takes two pieces for nothing.
        {{{70, 0, 1}, {100, 100, -1}}, {2000, 2000}, 150},
        // Only three bars to be had of the cheap length: the rest at the dear one.
        {{{70, 70, 1}, {100, 100, -1}}, {2000, 2000}, 220},
        // Bars worth nothing of any number prove nothing about the rest.
        {{{100, 0, -1}}, {2000}, 0},
        // A cost beyond what the products can hold proves nothing: 2^24 and
        // more.
        {{{100, (1LL << 24) - 1, -1}}, {2000}, 41943038},
        {{{100, 1LL << 24, -1}}, {2000}, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(LeastCost(needed, row.kinds, row.price), row.cost) << row.kinds.size();
    EXPECT_EQ(LeastCost(0, rows[0].kinds, rows[0].price), 0);

    // What a plan of so many bars of each kind still falls short of.
    PriceBound bound;
    bound.wholeNeeded = 5000;
    bound.wholePrice = {2000, 1500};
    EXPECT_EQ(Shortfall(bound, {1, 1}), 1500);
    EXPECT_EQ(Shortfall(bound, {1, 2}), 0);
    EXPECT_EQ(FewestBars(Shortfall(bound, {1, 0}), 1500), 2);
    EXPECT_EQ(FewestBars(Shortfall(bound, {3, 0}), 1500), 0);
    EXPECT_EQ(FewestBars(1, 0), -1);
    EXPECT_EQ(FewestBars(3, 1), 3) << "bars worth 1 each";
}

TEST(SafeBound, WholeBarsOfEachLengthWithinTheirCounts) {
    // Pieces worth 160 in all; one bar of 100 to be had, worth 100, and bars
    // of 90 of any number, worth 50: the one long bar and two short ones, 280.
    // Two long bars would cost 200 and four short ones 360.
    const MixedProblem p{{100, {80}, {2}}, {{100, 100, 1}, {90, 90, -1}}, 0, 0};
    PriceBound bound;
    bound.wholeNeeded = 160;
    bound.wholePrice = {100, 50};
    const std::vector<PriceBound> prices{bound};
    EXPECT_EQ(CountBound(p, prices).Least(1000), 280);
    // Nothing below the plan's cost: the cost itself.
    EXPECT_EQ(CountBound(p, prices).Least(250), 250);
}

} // namespace
