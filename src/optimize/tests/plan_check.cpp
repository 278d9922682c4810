#include "plan_check.h"
#include "optimize/cutting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

using cutting::CutItem;

void CheckPlan(const std::vector<CutItem>& items, const cutting::Settings& s,
               const cutting::Plan& plan) {
    std::map<std::tuple<int, cutting::PieceKind, int>, int> wanted, cut;
    long long wantedLength = 0;
    for (const CutItem& item : items) {
        wanted[{item.grille, item.kind, item.length}] += item.count;
        wantedLength += static_cast<long long>(item.length) * item.count;
    }
    int bars = 0, onHand = 0;
    long long bought = 0, cutLength = 0;
    std::map<int, int> purchases, offcutsCut, leftovers, kept;
    for (const cutting::Pattern& p : plan.patterns) {
        EXPECT_GT(p.count, 0);
        EXPECT_EQ(static_cast<int>(p.bars.size()), p.count);
        EXPECT_TRUE(std::is_sorted(p.lengths.rbegin(), p.lengths.rend()));
        // Trim applies to bought bars only.
        const int usable = p.onHand ? p.stock : p.stock - 2 * s.trim;
        long long used = 0;
        for (int length : p.lengths)
            used += length + s.kerf;
        EXPECT_LE(used, usable + s.kerf) << "a bar holds more than its usable length";
        EXPECT_EQ(p.offcut, std::max(0LL, usable - used));
        for (const auto& bar : p.bars) {
            std::vector<int> lengths;
            for (const cutting::Piece& piece : bar) {
                lengths.push_back(piece.length);
                ++cut[{piece.grille, piece.kind, piece.length}];
            }
            EXPECT_EQ(lengths, p.lengths);
        }
        (p.onHand ? onHand : bars) += p.count;
        if (p.onHand) {
            offcutsCut[p.stock] += p.count;
        } else {
            bought += static_cast<long long>(p.count) * p.stock;
            purchases[p.stock] += p.count;
        }
        cutLength += static_cast<long long>(p.count) * p.stock;
        if (p.offcut > 0)
            leftovers[p.offcut] += p.count;
    }
    EXPECT_EQ(cut, wanted) << "every piece must be cut exactly once";
    EXPECT_EQ(plan.bars, bars);
    EXPECT_EQ(plan.offcutsUsed, onHand);
    EXPECT_EQ(plan.piecesLength, wantedLength);
    EXPECT_EQ(plan.boughtLength, bought);
    for (const cutting::Bars& b : plan.purchases)
        EXPECT_EQ(purchases[b.length], b.count);
    for (const auto* list : {&plan.keep, &plan.scrap})
        for (const cutting::Bars& b : *list) {
            EXPECT_EQ(list == &plan.keep, b.length >= s.minUseful);
            kept[b.length] += b.count;
        }
    EXPECT_EQ(kept, leftovers);
    EXPECT_NEAR(plan.wastePercent,
                100.0 * static_cast<double>(cutLength - wantedLength) /
                    static_cast<double>(cutLength),
                1e-9);
    EXPECT_LE(plan.lowerBound, plan.bars);
    EXPECT_LE(plan.lowerBoundLength, plan.boughtLength);
    EXPECT_EQ(plan.optimal, plan.lowerBoundLength == plan.boughtLength);
    // Counted stock and offcuts on hand are not cut beyond their counts.
    std::map<int, long long> stock, offcuts;
    for (const cutting::StockBar& b : s.stocks)
        stock[b.length] =
            b.count == cutting::Unlimited || stock[b.length] < 0 ? -1 : stock[b.length] + b.count;
    if (s.stocks.empty())
        stock[s.stock] = -1;
    for (const cutting::Offcut& o : s.offcuts)
        offcuts[o.length] += o.count;
    for (const auto& [length, count] : purchases) {
        ASSERT_TRUE(stock.count(length)) << length << " is not on sale";
        EXPECT_TRUE(stock[length] < 0 || count <= stock[length]) << "too many bars of " << length;
    }
    for (const auto& [length, count] : offcutsCut)
        EXPECT_LE(count, offcuts[length]) << "too many offcuts of " << length;
}
