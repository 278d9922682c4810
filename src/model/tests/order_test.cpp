#include "model/cut_list.h"
#include "model/order.h"

#include "raised.h"

#include <gtest/gtest.h>

using model::ErrorKind;
using model::Order;

namespace {

bool RaisesSubscript(auto&& f) {
    return KindOf(f) == ErrorKind::SubscriptOutOfRange;
}

TEST(Order, StartsAllZero) {
    Order order;
    EXPECT_EQ(order.Quadro, 0);
    EXPECT_EQ(order.GrilleCount, 0);
    for (int i = 1; i <= model::MaxOpenings; ++i) {
        EXPECT_EQ(order.OpeningAt(i), (model::Opening{0, 0, 0, 0, 0}));
        EXPECT_EQ(order.GrilleAt(i), (model::Grille{0, 0, 0, 0, 0, 0, 0, 0.0}));
    }
}

TEST(Order, EntriesOutsideTheTablesRaiseAndTouchNothing) {
    Order order;
    const Order before = order;
    for (model::int16 i : {model::int16{0}, model::int16{61}, model::int16{-1}}) {
        EXPECT_TRUE(RaisesSubscript([&] { order.SetOpeningWidth(i, 7); })) << i;
        EXPECT_TRUE(RaisesSubscript([&] { order.SetOpeningHeight(i, 7); })) << i;
        EXPECT_TRUE(RaisesSubscript([&] { order.SetOpeningTopGap(i, 7); })) << i;
        EXPECT_TRUE(RaisesSubscript([&] { order.SetOpeningBottomGap(i, 7); })) << i;
        EXPECT_TRUE(RaisesSubscript([&] { order.SetOpeningSideGap(i, 7); })) << i;
        EXPECT_TRUE(RaisesSubscript([&] { order.SetGrilleStep(i, 7); })) << i;
        EXPECT_TRUE(RaisesSubscript([&] { (void)order.GrilleAt(i); })) << i;
    }
    for (int i = 1; i <= model::MaxOpenings; ++i) {
        EXPECT_EQ(order.OpeningAt(i), before.OpeningAt(i));
        EXPECT_EQ(order.GrilleAt(i), before.GrilleAt(i));
    }
}

TEST(Order, ClearTablesKeepsTheScalars) {
    Order order;
    order.Quadro = 14;
    order.GrilleCount = 5;
    order.SetOpeningWidth(60, 900); // 60 is the last valid entry
    order.SetGrilleStep(1, 164);
    order.GrilleAt(3).DoubleBelt = model::True16;
    order.GrilleAt(3).S = 1.5;
    order.ClearTables();
    EXPECT_EQ(order.OpeningAt(60), model::Opening{});
    EXPECT_EQ(order.GrilleAt(1), model::Grille{});
    EXPECT_EQ(order.GrilleAt(3), model::Grille{});
    EXPECT_EQ(order.Quadro, 14);
    EXPECT_EQ(order.GrilleCount, 5);
}

TEST(CutList, BeltsAndUprightsOfOneGrille) {
    struct Row {
        const char* name;
        model::Grille grille;
        model::CutList cuts;
    };
    // clang-format off
    const Row rows[] = {
        {"single belt: uprights H - q", {.B = 980, .H = 1480, .n = 5, .q = 14},
         {980, 2, 1466, 8}},
        {"double belt: four belts, uprights of the full height",
         {.B = 1600, .H = 1480, .n = 9, .q = 14, .DoubleBelt = model::True16},
         {1600, 4, 1480, 12}},
        {"only -1 marks a double belt", {.B = 1000, .H = 1400, .n = 0, .q = 20, .DoubleBelt = 1},
         {1000, 2, 1380, 3}},
        {"beyond 16 bits in full integers", {.B = -5, .H = -32768, .n = 32767, .q = 1},
         {-5, 2, -32769, 32770}},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(model::CutListOf(row.grille), row.cuts) << row.name;
}

} // namespace
