#include "optimize/cutting.h"
#include "optimize/input.h"
#include "optimize/order_pieces.h"

#include <gtest/gtest.h>

using cutting::CutItem;
using cutting::OrderCutList;
using cutting::PieceKind;
using model::Order;

namespace {

bool Same(const CutItem& a, const CutItem& b) {
    return a.grille == b.grille && a.kind == b.kind && a.length == b.length && a.count == b.count;
}

TEST(OrderCutList, FollowsTheCutListOfEachGrilleOddValuesIncluded) {
    Order order;
    order.GrilleCount = 3;
    order.GrilleAt(1) = {.B = 980, .H = 1480, .n = 5, .q = 14};
    order.GrilleAt(2) = {.B = 1080, .H = 1480, .n = 6, .q = 14, .DoubleBelt = model::True16};
    // Only -1 counts as a double belt; odd values pass for the check to refuse.
    order.GrilleAt(3) = {.B = 500, .H = -32768, .n = -5, .q = 14, .DoubleBelt = 1};
    order.GrilleAt(4).B = 777; // beyond GrilleCount: not part of the order
    const std::vector<CutItem> items = OrderCutList(order);
    const std::vector<CutItem> expected = {
        {1, PieceKind::Horizontal, 980, 2},  {1, PieceKind::Vertical, 1480 - 14, 8},
        {2, PieceKind::Horizontal, 1080, 4}, {2, PieceKind::Vertical, 1480, 9},
        {3, PieceKind::Horizontal, 500, 2},  {3, PieceKind::Vertical, -32782, -2},
    };
    ASSERT_EQ(items.size(), expected.size());
    for (size_t k = 0; k < items.size(); ++k)
        EXPECT_TRUE(Same(items[k], expected[k])) << "line " << k;
    EXPECT_NE(cutting::CheckInput(items, {.stock = 11750}), "");
}

TEST(OrderCutList, EmptyOrderAndTooManyGrilles) {
    Order order;
    EXPECT_TRUE(OrderCutList(order).empty());
    order.GrilleCount = 61;
    EXPECT_THROW(OrderCutList(order), model::RuntimeError);
}

} // namespace
