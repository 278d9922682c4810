#include "drawing/grille_geometry.h"

#include <gtest/gtest.h>

namespace {

using drawing::Bar;
using drawing::PlanGrille;

// The picture box of the main window.
constexpr float Wp = 3375;
constexpr float Hp = 2295;

model::Order OrderWith(model::int16 B, model::int16 H, model::int16 n, model::int16 b) {
    model::Order order;
    model::Grille& g = order.GrilleAt(1);
    g.B = B, g.H = H, g.n = n, g.b = b, g.q = 14, g.t = 164;
    return order;
}

// A bar as expected, in twips.
struct Box {
    double x1, y1, x2, y2;
};

void ExpectBar(const Bar& bar, const Box& expected) {
    EXPECT_NEAR(bar.x1, expected.x1, 1e-3);
    EXPECT_NEAR(bar.y1, expected.y1, 1e-3);
    EXPECT_NEAR(bar.x2, expected.x2, 1e-3);
    EXPECT_NEAR(bar.y2, expected.y2, 1e-3);
}

struct FrameCase {
    const char* name;
    model::int16 B, H;
    Box bars[4]; // top, bottom, left and right frame bars
};

class Frame : public testing::TestWithParam<FrameCase> {};

// The scale binds the longer side to the picture less its 300 twip margin;
// the other side is centred. The bottom bar lies a bar's width above the
// bottom edge, and the side bars run between the top and bottom bars.
TEST_P(Frame, IsScaledToFitAndCentred) {
    const FrameCase& c = GetParam();
    const auto plan = PlanGrille(OrderWith(c.B, c.H, 6, 0), 1, Wp, Hp);
    ASSERT_TRUE(plan.cleared);
    ASSERT_GE(plan.bars.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k)
        ExpectBar(plan.bars[k], c.bars[k]);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    GrilleGeometry, Frame,
    testing::Values(
        // 1995 / 1500 = 1.33 a millimetre; 1000 mm take 1330 twips.
        FrameCase{"TallBindsHeight", 1000, 1500,
                  {{1022.5, 150, 2352.5, 168.62}, {1022.5, 2107.76, 2352.5, 2126.38},
                  {1022.5, 168.62, 1041.12, 2107.76}, {2333.88, 168.62, 2352.5, 2107.76}}},
        // 3075 / 3000 = 1.025; 1000 mm take 1025 twips.
        FrameCase{"WideBindsWidth", 3000, 1000,
                  {{150, 635, 3225, 649.35}, {150, 1631.3, 3225, 1645.65},
                  {150, 649.35, 164.35, 1631.3}, {3210.65, 649.35, 3225, 1631.3}}},
        // 1250 / 850 and 3375 / 2295 are both 25 / 17.
        FrameCase{"EqualAspectsBindHeight", 1250, 850,
                  {{220.588, 150, 3154.412, 182.859}, {220.588, 2079.282, 3154.412, 2112.141},
                  {220.588, 182.859, 253.447, 2079.282}, {3121.553, 182.859, 3154.412, 2079.282}}},
        FrameCase{"JustWiderBindsWidth", 1251, 850,
                  {{150, 102.836, 3225, 137.248}, {150, 2123.339, 3225, 2157.752},
                  {150, 137.248, 184.412, 2123.339}, {3190.588, 137.248, 3225, 2123.339}}}),
    [](const testing::TestParamInfo<FrameCase>& row) { return row.param.name; });
// clang-format on

TEST(GrilleGeometry, InsertBarsCloseTheInsertsAndInnerBarsFollowAtTheDrawnStep) {
    // B = 1000, b = 59, n = 5 at 1.33 twips a millimetre: the inserts end
    // 78.47 twips in from each side bar (18.62 wide), and the five steps of
    // 227.164 share what lies between.
    const auto plan = PlanGrille(OrderWith(1000, 1500, 5, 59), 1, Wp, Hp);
    ASSERT_EQ(plan.bars.size(), 6u + 4u);
    const double top = 168.62, bottom = 2107.76;
    ExpectBar(plan.bars[4], {1119.59, top, 1138.21, bottom});
    ExpectBar(plan.bars[5], {2236.79, top, 2255.41, bottom});
    const double inner[] = {1346.754, 1573.918, 1801.082, 2028.246};
    for (std::size_t i = 0; i < 4; ++i)
        ExpectBar(plan.bars[6 + i], {inner[i], top, inner[i] + 18.62, bottom});
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
        // The number rounds half to even: 1.5 names the empty grille 2, 0.5 none.
        PlanCase{"NumberRoundsToAnEmptyGrille", 1000, 1500, 6, 10, 1.5, Hp, false, 0},
        PlanCase{"NumberRoundsToNoGrille", 1000, 1500, 6, 10, 0.5, Hp, false, 0}),
    [](const testing::TestParamInfo<PlanCase>& row) { return row.param.name; });

} // namespace
