// Each phase of a plan on its own, the others switched off: what it finds and
// what it proves, so that a phase that stops doing its part is seen even where
// the others would cover for it in a whole plan.

#include "optimize/cutting.h"
#include "optimize/instance/parameters.h"
#include "plan_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

using cutting::CutItem;
using cutting::Parameters;
constexpr auto V = cutting::PieceKind::Vertical;

int Rand(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

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
    const cutting::Settings s{1000};
    const cutting::Plan none = PlanWith(thirds, s, Only([](Parameters::Single&) {}));
    ASSERT_GT(none.bars, 41) << "the fits alone find the optimum: the test tells nothing";
    ASSERT_FALSE(none.optimal);
    // Five pieces of 34 on 100: the size and L2 bounds say 2, only a search
    // or the relaxation proves the 3.
    const std::vector<CutItem> thirdsOfABar{{1, V, 34, 5}};
    ASSERT_EQ(PlanWith(thirdsOfABar, {100}, Only([](Parameters::Single&) {})).lowerBound, 2);
    for (const PhaseCase& phase : SinglePhases()) {
        SCOPED_TRACE(phase.name);
        const cutting::Plan alone = PlanWith(thirds, s, Only(phase.keep));
        EXPECT_EQ(alone.optimal, phase.proves);
        EXPECT_LE(alone.bars, phase.proves ? 40 : 41);
        EXPECT_EQ(PlanWith(thirdsOfABar, {100}, Only(phase.keep)).optimal, phase.proves);
    }
}

TEST(Phases, TheRelaxationOverSeveralKindsProvesWhatTheLengthBoundCannot) {
    // Pieces of 6 on bars of 10 or 7, one piece a bar: three bars of 7, 21.
    // The length bound says 18, and the least sum of bars above it 20.
    const std::vector<CutItem> items{{1, V, 6, 3}};
    cutting::Settings s;
    s.stocks = {{10, cutting::Unlimited}, {7, cutting::Unlimited}};
    Parameters without;
    without.mixed.relaxation = false;
    const cutting::Plan bound = PlanWith(items, s, without);
    EXPECT_EQ(bound.boughtLength, 21);
    EXPECT_EQ(bound.lowerBoundLength, 20);
    const cutting::Plan relaxed = PlanWith(items, s, Parameters{});
    EXPECT_EQ(relaxed.boughtLength, 21);
    EXPECT_TRUE(relaxed.optimal);
}

} // namespace
