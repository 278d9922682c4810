#include "model/sizing.h"

#include "raised.h"

#include <gtest/gtest.h>

using model::ErrorKind;
using model::Grille;
using model::int16;
using model::Order;
using model::RuntimeError;

namespace {

// Opening i with the given width, height 1500 and every gap 10.
Order WithOpening(int16 i, int16 width, int16 quadro = 14) {
    Order order;
    order.Quadro = quadro;
    order.SetOpeningWidth(i, width);
    order.SetOpeningHeight(i, 1500);
    order.SetOpeningTopGap(i, 10);
    order.SetOpeningBottomGap(i, 10);
    order.SetOpeningSideGap(i, 10);
    return order;
}

void SizeAll(Order& order, int16 i) {
    model::SizeGrilleFrame(order, i);
    model::SizeGrilleSteps(order, i);
    model::SizeGrilleInserts(order, i);
}

struct Example {
    const char* name;
    int16 width, B, n, b;
};

class WorkedExamples : public ::testing::TestWithParam<Example> {};

TEST_P(WorkedExamples, SizeTheGrille) {
    const Example& e = GetParam();
    Order order = WithOpening(7, e.width);
    SizeAll(order, 7);
    const Grille& g = order.GrilleAt(7);
    EXPECT_EQ(g.B, e.B);
    EXPECT_EQ(g.H, 1480);
    EXPECT_EQ(g.q, 14);
    EXPECT_EQ(g.t, 164);
    EXPECT_EQ(g.n, e.n);
    EXPECT_EQ(g.b, e.b);
    EXPECT_DOUBLE_EQ(g.S, 1.48 * (e.B / 1000.0));
}

INSTANTIATE_TEST_SUITE_P(Quadro14, WorkedExamples,
                         ::testing::Values(Example{"w1000", 1000, 980, 5, 59},
                                           Example{"w1001_half_up_to_even", 1001, 981, 5, 60},
                                           Example{"w1003_half_down_to_even", 1003, 983, 5, 60},
                                           Example{"w1200_negative_insert", 1200, 1180, 7, -5},
                                           Example{"w854_zero_rule_exact", 854, 834, 5, 0},
                                           Example{"w855_zero_rule_after_rounding", 855, 835, 5, 0},
                                           Example{"w856_no_zero_rule", 856, 836, 5, -13}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Sizing, ZeroRuleDependsOnTheParityOfTheBar) {
    // Quadro 13: r = 1 gives x = -12.5, rounded to -12, which is not -13.
    Order order;
    order.Quadro = 13;
    order.SetOpeningWidth(1, 13 + 163 * 5 + 1);
    SizeAll(order, 1);
    EXPECT_EQ(order.GrilleAt(1).t, 163);
    EXPECT_EQ(order.GrilleAt(1).n, 5);
    EXPECT_EQ(order.GrilleAt(1).b, -12);
}

TEST(Sizing, ZeroAndNegativeWidths) {
    Order order;
    order.Quadro = 14;
    SizeAll(order, 1);
    const Grille& g = order.GrilleAt(1);
    EXPECT_EQ(g.B, 0);
    EXPECT_EQ(g.n, 0);
    EXPECT_EQ(g.b, -21);
    EXPECT_EQ(g.S, 0.0);
    // B - Quadro = -200: the step count truncates toward zero.
    order.SetOpeningWidth(1, -186);
    SizeAll(order, 1);
    EXPECT_EQ(g.n, -1);
}

TEST(Sizing, NeverTouchesTheDoubleBelt) {
    Order order = WithOpening(3, 1600);
    order.GrilleAt(3).DoubleBelt = model::True16;
    SizeAll(order, 3);
    EXPECT_EQ(order.GrilleAt(3).DoubleBelt, model::True16);
}

TEST(Sizing, UsesTheBarSizeOfTheMomentOfSizing) {
    Order order = WithOpening(1, 1000);
    SizeAll(order, 1);
    const Grille sized = order.GrilleAt(1);
    order.Quadro = 20;
    EXPECT_EQ(order.GrilleAt(1), sized);
    SizeAll(order, 1);
    EXPECT_EQ(order.GrilleAt(1).q, 20);
    EXPECT_EQ(order.GrilleAt(1).t, 170);
}

TEST(Sizing, StepOfZeroIsADivisionByZero) {
    Order order = WithOpening(1, 1000, -150);
    model::SizeGrilleFrame(order, 1);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleSteps(order, 1); }), ErrorKind::DivisionByZero);
    // t was stored before the division failed; n keeps its old value.
    EXPECT_EQ(order.GrilleAt(1).t, 0);
    EXPECT_EQ(order.GrilleAt(1).n, 0);
}

TEST(Sizing, OverflowInTheFrameLeavesLaterFieldsAlone) {
    Order order = WithOpening(1, 1000);
    SizeAll(order, 1);
    const Grille before = order.GrilleAt(1);

    // 2 x SideGap overflows: nothing of the frame is stored.
    order.SetOpeningSideGap(1, 20000);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleFrame(order, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(order.GrilleAt(1), before);

    // The height overflows: B is already stored, H, q and S are not.
    order.SetOpeningSideGap(1, 0);
    order.SetOpeningHeight(1, -32000);
    order.SetOpeningTopGap(1, 1000);
    order.Quadro = 20;
    EXPECT_EQ(KindOf([&] { model::SizeGrilleFrame(order, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(order.GrilleAt(1).B, 1000);
    EXPECT_EQ(order.GrilleAt(1).H, before.H);
    EXPECT_EQ(order.GrilleAt(1).q, before.q);
    EXPECT_EQ(order.GrilleAt(1).S, before.S);
}

TEST(Sizing, OverflowInTheStepsAndInserts) {
    Order order;
    order.Quadro = 32700; // t = q + 150 overflows
    model::SizeGrilleFrame(order, 1);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleSteps(order, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(order.GrilleAt(1).t, 0);

    // n x t overflows in the inserts; b keeps its old value.
    Order other = WithOpening(1, 1000);
    SizeAll(other, 1);
    other.GrilleAt(1).n = 30000;
    EXPECT_EQ(KindOf([&] { model::SizeGrilleInserts(other, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(other.GrilleAt(1).b, 59);

    // The negation of Quadro in the zero rule is checked too.
    Order extreme;
    extreme.Quadro = -32768;
    extreme.GrilleAt(1).q = 0;
    extreme.GrilleAt(1).B = -32768;
    extreme.GrilleAt(1).t = 1;
    EXPECT_EQ(KindOf([&] { model::SizeGrilleInserts(extreme, 1); }), ErrorKind::Overflow);
}

TEST(Sizing, IndexIsCheckedFirst) {
    Order order;
    EXPECT_EQ(KindOf([&] { model::SizeGrilleFrame(order, 61); }), ErrorKind::SubscriptOutOfRange);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleSteps(order, 0); }), ErrorKind::SubscriptOutOfRange);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleInserts(order, -1); }), ErrorKind::SubscriptOutOfRange);
}

} // namespace
