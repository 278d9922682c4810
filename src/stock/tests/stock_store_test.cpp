#include "stock_folder.h"

#include <gtest/gtest.h>

namespace {

using stock::Bars;
using stock::BarStock;
using stock::StockStore;
using stock::Unlimited;

constexpr int Size = 14;

struct StoreTest : testing::Test {
    StoreTest() : store(Opened(folder.File("stock.db"))) {}
    BarStock Held() { return store.Stock(Size).value; }
    std::vector<stock::JournalEntry> Journal() { return store.Journal().value; }
    // A plan of order 7 made from the store as it is now.
    stock::WriteOff Plan(std::vector<Bars> offcuts, std::vector<Bars> bars,
                         std::vector<Bars> kept) {
        return {Size, "7", std::move(offcuts), std::move(bars), std::move(kept), Held()};
    }
    void Fill() {
        ASSERT_TRUE(store.ReplaceStock(Size, {{6000, Unlimited}, {3000, 4}}).ok);
        ASSERT_TRUE(store.ReplaceOffcuts(Size, {{980, 1}, {1500, 2}}).ok);
    }
    TempFolder folder;
    StockStore store;
};

TEST_F(StoreTest, RowsAreKeptOnePerLengthLongestFirst) {
    ASSERT_TRUE(store.ReplaceOffcuts(Size, {{700, 1}, {1500, 2}, {700, 3}, {900, 0}}).ok);
    ASSERT_TRUE(store.ReplaceStock(12, {{3000, 2}, {6000, Unlimited}}).ok);
    EXPECT_EQ(Held().offcuts, (std::vector<Bars>{{1500, 2}, {700, 4}}));
    EXPECT_EQ(store.Stock(12).value.stock, (std::vector<Bars>{{6000, Unlimited}, {3000, 2}}));
    EXPECT_EQ(store.BarSizes().value, (std::vector<int>{12, Size}));
}

TEST_F(StoreTest, RefusedRowsChangeNothing) {
    Fill();
    const struct {
        bool stockLengths;
        Bars row;
        const char* message;
    } rows[] = {
        {false, {0, 1}, "Обрезки: длина 0 мм — должна быть от 1 до 1 000 000 мм."},
        {true, {1'000'001, 1}, "Плети: длина 1000001 мм — должна быть от 1 до 1 000 000 мм."},
        {false,
         {900, Unlimited},
         "Обрезки, длина 900 мм: количество -1 — должно быть от 0 до "
         "1 000 000."},
        {true,
         {900, -2},
         "Плети, длина 900 мм: количество -2 — должно быть от 0 до 1 000 000 "
         "или без счёта."},
        {true, {3000, 1}, "Плети: длина 3000 мм указана дважды."},
    };
    for (const auto& row : rows) {
        const std::vector<Bars> table{{3000, 1}, row.row};
        const stock::Status status =
            row.stockLengths ? store.ReplaceStock(Size, table) : store.ReplaceOffcuts(Size, table);
        EXPECT_EQ(status.error, row.message);
    }
    EXPECT_EQ(store.ReplaceOffcuts(0, {}).error,
              "Размер прутка 0 мм — должен быть от 1 до 32767 мм.");
    EXPECT_EQ(Held(), (BarStock{{{6000, Unlimited}, {3000, 4}}, {{1500, 2}, {980, 1}}}));
    EXPECT_EQ(Journal().size(), 2u);
}

TEST_F(StoreTest, CorrectionJournalsTheDifference) {
    const struct {
        std::vector<Bars> before, after;
        const char* taken;
        const char* added;
    } rows[] = {
        {{{1500, 2}, {980, 1}},
         {{1500, 1}, {980, 3}, {700, 1}},
         "плети 1 × 1500",
         "плети 2 × 980, 1 × 700"},
        {{{6000, 5}}, {{6000, Unlimited}}, "плети 5 × 6000", "плети ∞ × 6000"},
        {{{6000, Unlimited}}, {}, "плети ∞ × 6000", ""},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(store.ReplaceStock(Size, row.before).ok);
        ASSERT_TRUE(store.ReplaceStock(Size, row.after).ok);
        const stock::JournalEntry entry = Journal().front();
        EXPECT_EQ(stock::KindText(entry.kind), std::string("правка"));
        EXPECT_EQ(stock::ChangeText(entry.taken), row.taken);
        EXPECT_EQ(stock::ChangeText(entry.added), row.added);
    }
    const size_t entries = Journal().size();
    ASSERT_TRUE(store.ReplaceStock(Size, {}).ok);
    EXPECT_EQ(Journal().size(), entries) << "a correction that changes nothing is not journaled";
}

TEST_F(StoreTest, WriteOffTakesTheCutsAndKeepsTheLeftovers) {
    Fill();
    ASSERT_TRUE(store.WriteOffPlan(Plan({{1500, 2}}, {{6000, 3}, {3000, 1}}, {{1200, 1}})).ok);
    EXPECT_EQ(Held(), (BarStock{{{6000, Unlimited}, {3000, 3}}, {{1200, 1}, {980, 1}}}));
    const stock::JournalEntry entry = Journal().front();
    EXPECT_EQ(stock::KindText(entry.kind), std::string("списание"));
    EXPECT_EQ(entry.order, "7");
    EXPECT_EQ(stock::ChangeText(entry.taken), "плети 1 × 3000; обрезки 2 × 1500");
    EXPECT_EQ(stock::ChangeText(entry.added), "обрезки 1 × 1200");
}

// Another program's change between the plan and its write-off: refused, not merged.
TEST_F(StoreTest, WriteOffOfAPlanFromAnotherStoreIsRefused) {
    Fill();
    const stock::WriteOff plan = Plan({{1500, 1}}, {}, {});
    StockStore other = Opened(folder.File("stock.db"));
    ASSERT_TRUE(other.WriteOffPlan(Plan({{980, 1}}, {}, {})).ok);
    const BarStock before = Held();
    EXPECT_EQ(store.WriteOffPlan(plan).error, stock::StockChanged);
    EXPECT_EQ(store.WriteOffPlan(Plan({{1500, 3}}, {}, {})).error,
              "Раскрой берёт со склада больше, чем было при расчёте: обрезки 1500 мм.");
    EXPECT_EQ(Held(), before);
    EXPECT_EQ(Journal().size(), 3u);
}

TEST_F(StoreTest, UndoPutsBackTheLatestWriteOffOfTheOrder) {
    Fill();
    const BarStock before = Held();
    ASSERT_TRUE(store.WriteOffPlan(Plan({{1500, 1}}, {{3000, 2}}, {{500, 2}})).ok);
    ASSERT_TRUE(store.UndoLastWriteOff("7").ok);
    EXPECT_EQ(Held(), before);
    EXPECT_EQ(stock::KindText(Journal().front().kind), std::string("отмена"));
    EXPECT_EQ(store.UndoLastWriteOff("7").error,
              "По заказу «7» нет списания, которое можно отменить.");
    EXPECT_EQ(Replayed(Journal(), Size), Held());
}

TEST_F(StoreTest, UndoIsRefusedWhenTheKeptOffcutsAreGone) {
    Fill();
    ASSERT_TRUE(store.WriteOffPlan(Plan({{1500, 1}}, {}, {{500, 2}})).ok);
    ASSERT_TRUE(store.ReplaceOffcuts(Size, {{1500, 1}, {500, 1}}).ok);
    const BarStock before = Held();
    EXPECT_EQ(store.UndoLastWriteOff("7").error,
              "Нельзя отменить списание по заказу «7»: на складе уже нет всех обрезков, которые "
              "оно добавило (2 × 500). Склад не изменён.");
    EXPECT_EQ(Held(), before);
}

TEST(Store, ClosedStoreRefusesEverything) {
    StockStore closed;
    EXPECT_EQ(closed.Stock(Size).error, "Склад не открыт.");
    EXPECT_EQ(closed.UndoLastWriteOff("7").error, "Склад не открыт.");
}

} // namespace
