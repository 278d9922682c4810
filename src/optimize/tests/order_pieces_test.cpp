#include "optimize/order_pieces.h"

#include "model/sizing.h"

#include <gtest/gtest.h>

using cutting::CutItem;
using cutting::OrderCutList;
using cutting::PieceKind;
using model::Order;

namespace {

bool Same(const CutItem& a, const CutItem& b) {
    return a.grille == b.grille && a.kind == b.kind && a.length == b.length && a.count == b.count;
}

Order Sized(int count) {
    Order order;
    order.Quadro = 14;
    for (int i = 1; i <= count; ++i) {
        const auto n = static_cast<model::int16>(i);
        order.SetOpeningWidth(n, static_cast<model::int16>(900 + 100 * i));
        order.SetOpeningHeight(n, 1500);
        order.SetOpeningTopGap(n, 10);
        order.SetOpeningBottomGap(n, 10);
        order.SetOpeningSideGap(n, 10);
        model::SizeGrilleFrame(order, n);
        model::SizeGrilleSteps(order, n);
        model::SizeGrilleInserts(order, n);
    }
    order.GrilleCount = static_cast<model::int16>(count);
    return order;
}

TEST(OrderCutList, FollowsTheCutListOfEachGrille) {
    Order order = Sized(2);
    order.GrilleAt(2).DoubleBelt = model::True16;
    order.GrilleAt(3).B = 777; // beyond GrilleCount: not part of the order
    const std::vector<CutItem> items = OrderCutList(order);
    // Width 1000: B 980, H 1480, n 5; width 1100: B 1080, n 6.
    const std::vector<CutItem> expected = {
        {1, PieceKind::Horizontal, 980, 2},
        {1, PieceKind::Vertical, 1480 - 14, 8},
        {2, PieceKind::Horizontal, 1080, 4},
        {2, PieceKind::Vertical, 1480, 9},
    };
    ASSERT_EQ(items.size(), expected.size());
    for (size_t k = 0; k < items.size(); ++k)
        EXPECT_TRUE(Same(items[k], expected[k])) << "line " << k;
}

TEST(OrderCutList, OddValuesPassThroughForTheCheckToRefuse) {
    Order order = Sized(1);
    order.GrilleAt(1).DoubleBelt = 1; // only -1 counts as a double belt
    order.GrilleAt(1).H = -32768;
    order.GrilleAt(1).q = 14;
    order.GrilleAt(1).n = -5;
    const std::vector<CutItem> items = OrderCutList(order);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].count, 2);
    EXPECT_EQ(items[1].length, -32782);
    EXPECT_EQ(items[1].count, -2);
    cutting::Settings s;
    s.stock = 11750;
    EXPECT_NE(cutting::CheckInput(items, s), "");
}

TEST(OrderCutList, EmptyOrderAndTooManyGrilles) {
    Order order;
    EXPECT_TRUE(OrderCutList(order).empty());
    order.GrilleCount = 61;
    EXPECT_THROW(OrderCutList(order), model::RuntimeError);
}

} // namespace
