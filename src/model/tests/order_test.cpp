#include "model/order.h"

#include "raised.h"

#include <gtest/gtest.h>

using model::ErrorKind;
using model::Order;
using model::RuntimeError;

namespace {

bool RaisesSubscript(auto&& f) {
    return KindOf(f) == ErrorKind::SubscriptOutOfRange;
}

TEST(Order, StartsAllZero) {
    Order order;
    EXPECT_EQ(order.Quadro, 0);
    EXPECT_EQ(order.GrilleCount, 0);
    for (int i = 1; i <= model::MaxOpenings; ++i) {
        EXPECT_EQ(order.OpeningAt(i), model::Opening{});
        EXPECT_EQ(order.GrilleAt(i), model::Grille{});
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

} // namespace
