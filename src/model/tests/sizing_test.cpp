#include "model/sizing.h"

#include "raised.h"

#include <gtest/gtest.h>

using model::ErrorKind;
using model::Grille;
using model::int16;
using model::Order;

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
    EXPECT_EQ(order.GrilleAt(7), (Grille{e.B, 1480, 164, e.n, e.b, 14, 0, 1.48 * (e.B / 1000.0)}));
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
    EXPECT_EQ(order.GrilleAt(1), (Grille{829, 0, 163, 5, -12, 13, 0, 0.0}));
}

TEST(Sizing, ZeroAndNegativeWidths) {
    Order order;
    order.Quadro = 14;
    SizeAll(order, 1);
    EXPECT_EQ(order.GrilleAt(1), (Grille{0, 0, 164, 0, -21, 14, 0, 0.0}));
    // B - Quadro = -200: the step count truncates toward zero.
    order.SetOpeningWidth(1, -186);
    SizeAll(order, 1);
    EXPECT_EQ(order.GrilleAt(1).n, -1);
}

// The double belt is the user's, and a grille keeps the bar size it was
// sized with until it is sized again.
TEST(Sizing, KeepsTheDoubleBeltAndTheBarSizeOfTheMomentOfSizing) {
    Order order = WithOpening(1, 1000);
    order.GrilleAt(1).DoubleBelt = model::True16;
    SizeAll(order, 1);
    const Grille sized = order.GrilleAt(1);
    EXPECT_EQ(sized.DoubleBelt, model::True16);
    order.Quadro = 20;
    EXPECT_EQ(order.GrilleAt(1), sized);
    SizeAll(order, 1);
    EXPECT_EQ(order.GrilleAt(1).q, 20);
    EXPECT_EQ(order.GrilleAt(1).t, 170);
}

// A failing step raises its error and stores nothing from the field it was
// computing on; what it stored before stays.
TEST(Sizing, ErrorsLeaveTheFieldBeingComputedAndTheLaterOnesAlone) {
    using Step = void (*)(Order&, int16);
    struct Row {
        const char* name;
        void (*setUp)(Order&);
        Step step;
        ErrorKind kind;
        Grille after; // of grille 1, sized from width 1000 before
    };
    Order sized = WithOpening(1, 1000);
    SizeAll(sized, 1);
    const Grille g = sized.GrilleAt(1); // B 980, H 1480, t 164, n 5, b 59
    // clang-format off
    const Row rows[] = {
        {"2 x side gap", [](Order& o) { o.SetOpeningSideGap(1, 20000); }, model::SizeGrilleFrame,
         ErrorKind::Overflow, g},
        {"the height, after B", [](Order& o) {
             o.SetOpeningSideGap(1, 0); o.SetOpeningHeight(1, -32000); o.SetOpeningTopGap(1, 1000);
         }, model::SizeGrilleFrame, ErrorKind::Overflow, {1000, g.H, g.t, g.n, g.b, g.q, 0, g.S}},
        {"step of zero, after t", [](Order& o) { o.Quadro = -150; o.GrilleAt(1).q = -150; },
         model::SizeGrilleSteps, ErrorKind::DivisionByZero, {g.B, g.H, 0, g.n, g.b, -150, 0, g.S}},
        {"q + 150", [](Order& o) { o.GrilleAt(1).q = 32700; }, model::SizeGrilleSteps,
         ErrorKind::Overflow, {g.B, g.H, g.t, g.n, g.b, 32700, 0, g.S}},
        {"n x t", [](Order& o) { o.GrilleAt(1).n = 30000; }, model::SizeGrilleInserts,
         ErrorKind::Overflow, {g.B, g.H, g.t, 30000, g.b, g.q, 0, g.S}},
        {"-Quadro in the zero rule", [](Order& o) {
             o.Quadro = -32768; o.GrilleAt(1) = {-32768, 0, 1, 0, 0, 0, 0, 0.0};
         }, model::SizeGrilleInserts, ErrorKind::Overflow, {-32768, 0, 1, 0, 0, 0, 0, 0.0}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Order order = sized;
        row.setUp(order);
        EXPECT_EQ(KindOf([&] { row.step(order, 1); }), row.kind);
        EXPECT_EQ(order.GrilleAt(1), row.after);
    }
}

TEST(Sizing, IndexIsCheckedFirst) {
    Order order;
    EXPECT_EQ(KindOf([&] { model::SizeGrilleFrame(order, 61); }), ErrorKind::SubscriptOutOfRange);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleSteps(order, 0); }), ErrorKind::SubscriptOutOfRange);
    EXPECT_EQ(KindOf([&] { model::SizeGrilleInserts(order, -1); }), ErrorKind::SubscriptOutOfRange);
}

} // namespace
