#include "drawing/grille_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using drawing::Bar;
using drawing::PlanGrille;

// The picture box of the main window.
constexpr float Wp = 3375;
constexpr float Hp = 2295;

model::Order OrderWith(model::int16 B, model::int16 H, model::int16 n, model::int16 b,
                       model::int16 q = 14, int number = 1) {
    model::Order order;
    model::Grille& g = order.GrilleAt(number);
    g.B = B;
    g.H = H;
    g.n = n;
    g.b = b;
    g.q = q;
    g.t = static_cast<model::int16>(q + 150);
    return order;
}

void ExpectBar(const Bar& bar, double x1, double y1, double x2, double y2) {
    EXPECT_NEAR(bar.x1, x1, 1e-3);
    EXPECT_NEAR(bar.y1, y1, 1e-3);
    EXPECT_NEAR(bar.x2, x2, 1e-3);
    EXPECT_NEAR(bar.y2, y2, 1e-3);
}

TEST(GrilleGeometry, TallGrilleBindsTheHeightAndIsCentredAcross) {
    // k = 1995 / 1500 = 1.33, x0 = (3375 - 1330) / 2 = 1022.5, y0 = 150.
    const auto plan = PlanGrille(OrderWith(1000, 1500, 6, -13), 1, Wp, Hp);
    ASSERT_TRUE(plan.cleared);
    ASSERT_EQ(plan.bars.size(), 6u + 5u);
    const double qk = 14 * 1.33;
    ExpectBar(plan.bars[0], 1022.5, 150, 1022.5 + 1330, 150 + qk);                 // top
    ExpectBar(plan.bars[1], 1022.5, 150 + 1995 - 2 * qk, 2352.5, 150 + 1995 - qk); // bottom
    ExpectBar(plan.bars[2], 1022.5, 150 + qk, 1022.5 + qk, 150 + 1995 - 2 * qk);   // left
    ExpectBar(plan.bars[3], 2352.5 - qk, 150 + qk, 2352.5, 150 + 1995 - 2 * qk);   // right
}

TEST(GrilleGeometry, WideGrilleBindsTheWidthAndIsCentredDown) {
    // k = 3075 / 3000 = 1.025, x0 = 150, y0 = (2295 - 1025) / 2 = 635.
    const auto plan = PlanGrille(OrderWith(3000, 1000, 18, 20), 1, Wp, Hp);
    ASSERT_TRUE(plan.cleared);
    const double qk = 14 * 1.025;
    ExpectBar(plan.bars[0], 150, 635, 150 + 3075, 635 + qk);
    ExpectBar(plan.bars[1], 150, 635 + 1025 - 2 * qk, 3225, 635 + 1025 - qk);
}

TEST(GrilleGeometry, EqualAspectsBindTheHeight) {
    // 1250 / 850 and 3375 / 2295 are both 25 / 17.
    const auto equal = PlanGrille(OrderWith(1250, 850, 6, 0), 1, Wp, Hp);
    ASSERT_TRUE(equal.cleared);
    EXPECT_NEAR(equal.bars[0].y1, 150, 1e-3);
    EXPECT_NEAR(equal.bars[0].x1, (3375 - 1250 * (1995.0 / 850)) / 2, 1e-3);

    const auto wider = PlanGrille(OrderWith(1251, 850, 6, 0), 1, Wp, Hp);
    ASSERT_TRUE(wider.cleared);
    EXPECT_NEAR(wider.bars[0].x1, 150, 1e-3);
    EXPECT_NEAR(wider.bars[0].y1, (2295 - 850 * (3075.0 / 1251)) / 2, 1e-3);
}

TEST(GrilleGeometry, InsertBarsCloseTheInsertsAndInnerBarsFollowAtTheDrawnStep) {
    // B = 1000, q = 14, b = 59, n = 5 at k = 1.33: the inserts end 59 mm in
    // from each side bar, and the five steps share what lies between.
    const auto plan = PlanGrille(OrderWith(1000, 1500, 5, 59), 1, Wp, Hp);
    ASSERT_TRUE(plan.cleared);
    ASSERT_EQ(plan.bars.size(), 6u + 4u);
    const double k = 1.33, x0 = 1022.5, qk = 14 * k, bk = 59 * k;
    const double top = 150 + qk, bottom = 150 + 1995 - 2 * qk;
    ExpectBar(plan.bars[4], x0 + qk + bk, top, x0 + 2 * qk + bk, bottom);
    ExpectBar(plan.bars[5], x0 + 1330 - bk - 2 * qk, top, x0 + 1330 - bk - qk, bottom);
    const double tk = (1330 - 2 * qk - 2 * bk) / 5;
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const double x = x0 + qk + bk + i * tk;
        ExpectBar(plan.bars[static_cast<std::size_t>(5 + i)], x, top, x + qk, bottom);
    }
    // n steps span from the left edge of the left insert bar to the right
    // edge of the right one.
    EXPECT_NEAR(plan.bars[9].x1 + tk, plan.bars[5].x2, 1e-3);
}

struct CountCase {
    const char* name;
    model::int16 n;
    model::int16 b;
    bool cleared;
    std::size_t bars;
};

class BarCount : public testing::TestWithParam<CountCase> {};

TEST_P(BarCount, DependsOnInsertsAndSteps) {
    const CountCase& c = GetParam();
    const auto plan = PlanGrille(OrderWith(1000, 1500, c.n, c.b), 1, Wp, Hp);
    EXPECT_EQ(plan.cleared, c.cleared);
    EXPECT_EQ(plan.bars.size(), c.bars);
}

INSTANTIATE_TEST_SUITE_P(
    GrilleGeometry, BarCount,
    testing::Values(CountCase{"NoInsertsMeansNoInsertBars", 6, 0, true, 4 + 5},
                    CountCase{"NegativeInsertsStillDrawInsertBars", 6, -13, true, 6 + 5},
                    CountCase{"OneStepHasNoInnerBar", 1, 10, true, 6},
                    CountCase{"ZeroStepsLeaveThePictureClearedAndEmpty", 0, 10, true, 0},
                    CountCase{"NegativeStepsDrawFrameAndInsertsOnly", -3, 10, true, 6},
                    CountCase{"StepCountAtTheBottomOverflowsAfterTheFrame", -32768, 10, true, 6}),
    [](const testing::TestParamInfo<CountCase>& row) { return row.param.name; });

struct FailureCase {
    const char* name;
    model::int16 B;
    model::int16 H;
    double number;
    float width;
    float height;
};

class LeavesPictureAlone : public testing::TestWithParam<FailureCase> {};

TEST_P(LeavesPictureAlone, WhenTheScaleCannotBeFound) {
    const FailureCase& c = GetParam();
    const auto plan = PlanGrille(OrderWith(c.B, c.H, 6, 10), c.number, c.width, c.height);
    EXPECT_FALSE(plan.cleared);
    EXPECT_TRUE(plan.bars.empty());
}

INSTANTIATE_TEST_SUITE_P(
    GrilleGeometry, LeavesPictureAlone,
    testing::Values(FailureCase{"EmptyGrille", 0, 0, 1, Wp, Hp},
                    FailureCase{"ZeroHeight", 1000, 0, 1, Wp, Hp},
                    FailureCase{"ZeroPictureHeight", 1000, 1500, 1, Wp, 0},
                    FailureCase{"GrilleNumber61", 1000, 1500, 61, Wp, Hp},
                    FailureCase{"NotANumber", 1000, 1500, std::nan(""), Wp, Hp},
                    FailureCase{"HugeNumber", 1000, 1500, 1e300, Wp, Hp}),
    [](const testing::TestParamInfo<FailureCase>& row) { return row.param.name; });

TEST(GrilleGeometry, GrilleNumberIsRoundedHalfToEven) {
    model::Order order = OrderWith(1000, 1500, 6, 10, 14, 2);
    EXPECT_TRUE(PlanGrille(order, 2.5, Wp, Hp).cleared);
    EXPECT_TRUE(PlanGrille(order, 1.6, Wp, Hp).cleared);
    EXPECT_FALSE(PlanGrille(order, 1.4, Wp, Hp).cleared); // grille 1 is empty
}

TEST(GrilleGeometry, ZeroWidthGrilleDrawsAtTheCentre) {
    // B = 0 gives aspect 0, so the height binds and the frame collapses onto
    // the vertical centre line of the picture.
    const auto plan = PlanGrille(OrderWith(0, 1000, 0, -21), 1, Wp, Hp);
    EXPECT_TRUE(plan.cleared);
    EXPECT_TRUE(plan.bars.empty()); // n = 0
}

} // namespace
