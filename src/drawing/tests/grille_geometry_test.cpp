#include "drawing/grille_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using drawing::Bar;
using drawing::PlanGrille;

// The picture box of the main window.
constexpr float Wp = 3375;
constexpr float Hp = 2295;

model::Order OrderWith(model::int16 B, model::int16 H, model::int16 n, model::int16 b,
                       int number = 1) {
    model::Order order;
    model::Grille& g = order.GrilleAt(number);
    g.B = B, g.H = H, g.n = n, g.b = b, g.q = 14, g.t = 164;
    return order;
}

void ExpectBar(const Bar& bar, double x1, double y1, double x2, double y2) {
    EXPECT_NEAR(bar.x1, x1, 1e-3);
    EXPECT_NEAR(bar.y1, y1, 1e-3);
    EXPECT_NEAR(bar.x2, x2, 1e-3);
    EXPECT_NEAR(bar.y2, y2, 1e-3);
}

struct FrameCase {
    const char* name;
    model::int16 B, H;
    double k, x0, y0;
};

class Frame : public testing::TestWithParam<FrameCase> {};

// The scale k binds the longer side to the picture less its 300 twip margin;
// the other side is centred.
TEST_P(Frame, IsScaledToFitAndCentred) {
    const FrameCase& c = GetParam();
    const auto plan = PlanGrille(OrderWith(c.B, c.H, 6, 0), 1, Wp, Hp);
    ASSERT_TRUE(plan.cleared);
    ASSERT_GE(plan.bars.size(), 4u);
    const double qk = 14 * c.k, x2 = c.x0 + c.B * c.k, y2 = c.y0 + c.H * c.k;
    ExpectBar(plan.bars[0], c.x0, c.y0, x2, c.y0 + qk);               // top
    ExpectBar(plan.bars[1], c.x0, y2 - 2 * qk, x2, y2 - qk);          // bottom
    ExpectBar(plan.bars[2], c.x0, c.y0 + qk, c.x0 + qk, y2 - 2 * qk); // left
    ExpectBar(plan.bars[3], x2 - qk, c.y0 + qk, x2, y2 - 2 * qk);     // right
}

INSTANTIATE_TEST_SUITE_P(
    GrilleGeometry, Frame,
    testing::Values(FrameCase{"TallBindsHeight", 1000, 1500, 1.33, 1022.5, 150},
                    FrameCase{"WideBindsWidth", 3000, 1000, 1.025, 150, 635},
                    // 1250 / 850 and 3375 / 2295 are both 25 / 17.
                    FrameCase{"EqualAspectsBindHeight", 1250, 850, 1995.0 / 850,
                              (3375 - 1250 * (1995.0 / 850)) / 2, 150},
                    FrameCase{"JustWiderBindsWidth", 1251, 850, 3075.0 / 1251, 150,
                              (2295 - 850 * (3075.0 / 1251)) / 2}),
    [](const testing::TestParamInfo<FrameCase>& row) { return row.param.name; });

TEST(GrilleGeometry, InsertBarsCloseTheInsertsAndInnerBarsFollowAtTheDrawnStep) {
    // B = 1000, b = 59, n = 5 at k = 1.33: the inserts end 59 mm in from
    // each side bar, and the five steps share what lies between.
    const auto plan = PlanGrille(OrderWith(1000, 1500, 5, 59), 1, Wp, Hp);
    ASSERT_EQ(plan.bars.size(), 6u + 4u);
    const double x0 = 1022.5, qk = 14 * 1.33, bk = 59 * 1.33;
    const double top = 150 + qk, bottom = 150 + 1995 - 2 * qk;
    ExpectBar(plan.bars[4], x0 + qk + bk, top, x0 + 2 * qk + bk, bottom);
    ExpectBar(plan.bars[5], x0 + 1330 - bk - 2 * qk, top, x0 + 1330 - bk - qk, bottom);
    const double tk = (1330 - 2 * qk - 2 * bk) / 5;
    for (int i = 1; i <= 4; ++i) {
        const double x = x0 + qk + bk + i * tk;
        ExpectBar(plan.bars[static_cast<std::size_t>(5 + i)], x, top, x + qk, bottom);
    }
    // n steps span from the left edge of the left insert bar to the right
    // edge of the right one.
    EXPECT_NEAR(plan.bars[9].x1 + tk, plan.bars[5].x2, 1e-3);
}

struct PlanCase {
    const char* name;
    model::int16 B, H, n, b;
    double number;
    float height;
    bool cleared; // false: the scale cannot be found and the picture is left alone
    std::size_t bars;
};

class Plan : public testing::TestWithParam<PlanCase> {};

TEST_P(Plan, ClearsAndDrawsBarsDependingOnInsertsAndSteps) {
    const PlanCase& c = GetParam();
    const auto plan = PlanGrille(OrderWith(c.B, c.H, c.n, c.b), c.number, Wp, c.height);
    EXPECT_EQ(plan.cleared, c.cleared);
    EXPECT_EQ(plan.bars.size(), c.bars);
}

INSTANTIATE_TEST_SUITE_P(
    GrilleGeometry, Plan,
    testing::Values(
        PlanCase{"NoInsertsMeansNoInsertBars", 1000, 1500, 6, 0, 1, Hp, true, 4 + 5},
        PlanCase{"NegativeInsertsStillDrawInsertBars", 1000, 1500, 6, -13, 1, Hp, true, 6 + 5},
        PlanCase{"OneStepHasNoInnerBar", 1000, 1500, 1, 10, 1, Hp, true, 6},
        PlanCase{"ZeroStepsLeaveThePictureClearedAndEmpty", 1000, 1500, 0, 10, 1, Hp, true, 0},
        // Aspect 0: the height binds, the frame collapses onto the centre line.
        PlanCase{"ZeroWidthGrilleIsNotAFailure", 0, 1000, 0, -21, 1, Hp, true, 0},
        PlanCase{"NegativeStepsDrawFrameAndInsertsOnly", 1000, 1500, -3, 10, 1, Hp, true, 6},
        PlanCase{"StepCountAtTheBottomOverflowsAfterTheFrame", 1000, 1500, -32768, 10, 1, Hp, true,
                 6},
        PlanCase{"EmptyGrilleLeavesPictureAlone", 0, 0, 6, 10, 1, Hp, false, 0},
        PlanCase{"ZeroHeightLeavesPictureAlone", 1000, 0, 6, 10, 1, Hp, false, 0},
        PlanCase{"ZeroPictureHeightLeavesPictureAlone", 1000, 1500, 6, 10, 1, 0, false, 0},
        PlanCase{"GrilleNumber61LeavesPictureAlone", 1000, 1500, 6, 10, 61, Hp, false, 0},
        PlanCase{"NotANumberLeavesPictureAlone", 1000, 1500, 6, 10, std::nan(""), Hp, false, 0},
        PlanCase{"HugeNumberLeavesPictureAlone", 1000, 1500, 6, 10, 1e300, Hp, false, 0}),
    [](const testing::TestParamInfo<PlanCase>& row) { return row.param.name; });

TEST(GrilleGeometry, GrilleNumberIsRoundedHalfToEven) {
    const model::Order order = OrderWith(1000, 1500, 6, 10, 2);
    EXPECT_TRUE(PlanGrille(order, 2.5, Wp, Hp).cleared);
    EXPECT_TRUE(PlanGrille(order, 1.6, Wp, Hp).cleared);
    EXPECT_FALSE(PlanGrille(order, 1.4, Wp, Hp).cleared); // grille 1 is empty
}

} // namespace
