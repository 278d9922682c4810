// The bound of bars told apart by their long pieces, against the exhaustive
// search on small orders built so that the bound applies.

#include "optimize/bounds/anchored.h"
#include "optimize/bounds/bounds.h"
#include "optimize/exact/bar_completion.h"
#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"
#include "optimize/lp/pattern_lp.h"

#include "test_instances.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace cutting::detail;

namespace {

// Bars of one long piece, or of two medium ones, each filled up with short
// pieces to within a millimetre; then a few tiny pieces more, so that some
// orders still fit their bars and others need a bar more.
Instance AnchoredOrder(std::mt19937& rng, int mostPairs) {
    const int c = Rand(rng, 40, 120);
    std::vector<int> pieces;
    auto fill = [&](int room) {
        while (room > c / 10) {
            const int p = Rand(rng, c / 10, std::min(room, c / 3));
            pieces.push_back(p);
            room -= p;
        }
    };
    for (int k = Rand(rng, 2, 6); k > 0; --k) {
        const int p = Rand(rng, c / 2 + 1 + c / 10, c - c / 10);
        pieces.push_back(p);
        fill(c - p - Rand(rng, 0, 1));
    }
    // Medium pieces between 2/5 and 1/2 of a bar: three never fit, and none
    // fits beside a long piece of more than 3/5.
    for (int k = Rand(rng, 0, mostPairs); k > 0; --k) {
        const int a = Rand(rng, c * 2 / 5 + 1, c / 2), b = Rand(rng, c * 2 / 5 + 1, c / 2);
        pieces.push_back(a);
        pieces.push_back(b);
        fill(c - a - b);
    }
    for (int k = Rand(rng, 0, 2); k > 0; --k)
        pieces.push_back(Rand(rng, 1, c / 8));
    return FromPieces(c, pieces);
}

TEST(AnchoredBound, NeverRulesOutAPackingAndSeesWhatOtherBoundsMiss) {
    std::mt19937 rng(31);
    int ruledOut = 0;
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        const Instance in = AnchoredOrder(rng, 2);
        const int simple = std::max(BoundBySize(in), BoundMartelloToth(in));
        bool exhausted = false;
        int optimum = simple;
        while (SearchPacking(in, optimum, Never, exhausted).empty()) {
            ASSERT_TRUE(exhausted);
            ++optimum;
        }
        // Never a proof at the optimum or above; below it, ask at each count
        // the simple bounds leave open.
        for (int bars = simple; bars <= optimum + 1; ++bars) {
            const bool rules = AnchoredBoundRules(in, bars, Never);
            if (bars >= optimum) {
                EXPECT_FALSE(rules) << "false proof at " << bars << " bars";
                continue;
            }
            // Counted only where counting the long and medium pieces alone
            // does not rule the bars out: the relaxation did.
            long long counted = 0;
            for (const Anchoring& a : Anchorings(in))
                counted = std::max(counted, a.bars);
            ruledOut += rules && counted <= bars;
        }
    }
    EXPECT_GT(ruledOut, 20) << "the test tells nothing";
}

TEST(AnchoredBound, CountsABarForEachLongPieceAndOneForTwoMediumOnes) {
    struct Case {
        const char* name;
        Instance in;
        long long bars;
    };
    const Case cases[] = {
        // Every piece longer than half the bar: the anchorings run to the
        // last size, and counting the long pieces alone proves a bar each.
        {"every piece long", FromPieces(10, {9, 8, 7, 6, 6}), 5},
        // 41 is the shortest piece that does not fit beside a 60: two of them
        // share a bar of their own.
        {"medium pieces just too long to go beside", FromPieces(100, {60, 60, 60, 41, 41}), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        long long counted = 0;
        for (const Anchoring& a : Anchorings(c.in))
            counted = std::max(counted, a.bars);
        EXPECT_EQ(counted, c.bars);
        EXPECT_TRUE(AnchoredBoundRules(c.in, static_cast<int>(c.bars) - 1, Never));
        EXPECT_FALSE(AnchoredBoundRules(c.in, static_cast<int>(c.bars), Never));
    }
}

TEST(AnchoredBound, BranchesWhereTheRelaxationHasASolution) {
    // A published order of 200 pieces on 1000 (Hard28, BPP175) that needs
    // 84 bars, while the pattern relaxation and every simple bound say 83.
    // In 83 bars each bar would hold one of the 72 pieces of 535 or more, or
    // one or two of the 21 of 466 to 525; the relaxation of that still has a
    // solution, and only branching rules it out.
    const Instance in = Published("BPP175");
    ASSERT_EQ(in.Pieces(), 200);
    PatternLp lp(in);
    lp.Solve(84, Never);
    EXPECT_EQ(std::max({lp.Bound(), BoundBySize(in), BoundMartelloToth(in)}), 83);
    // Within about twice the work it takes today: a plan gives it 0.4 s.
    EXPECT_TRUE(AnchoredBoundRules(in, 83, Never.Within(350000000)));
    EXPECT_FALSE(AnchoredBoundRules(in, 84, Never));
}

TEST(AnchoredBound, ProvesNothingWhenStoppedOrWhenTheLinearProgramsFail) {
    // Without medium pieces the long ones alone need no more bars than the
    // simple bounds prove: what is ruled out there, the relaxation rules out.
    std::mt19937 rng(5);
    Instance in;
    int bars = 0;
    for (int round = 0; round < 400 && bars == 0; ++round) {
        in = AnchoredOrder(rng, 0);
        const int simple = std::max(BoundBySize(in), BoundMartelloToth(in));
        if (AnchoredBoundRules(in, simple, Never))
            bars = simple;
    }
    ASSERT_GT(bars, 0) << "no order the bound rules out";
    const cutting::Stop passed(cutting::Clock::now() - std::chrono::seconds(1));
    EXPECT_FALSE(AnchoredBoundRules(in, bars, passed));
    FailLinearProgramsForTesting(true);
    EXPECT_FALSE(AnchoredBoundRules(in, bars, Never));
    FailLinearProgramsForTesting(false);
    EXPECT_TRUE(AnchoredBoundRules(in, bars, Never)) << "GLPK is started afresh";
}

} // namespace
