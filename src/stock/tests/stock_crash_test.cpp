#include "stock_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using stock::StockStore;

constexpr int Size = 14;

std::string Prepared(const TempFolder& folder) {
    const std::string path = folder.File("stock.db");
    StockStore store = Opened(path);
    EXPECT_TRUE(store.ReplaceStock(Size, {{6000, 100'000}}).ok);
    EXPECT_TRUE(store.ReplaceOffcuts(Size, {{3000, 100'000}}).ok);
    return path;
}

// Writes off one offcut and one bar of order `order`, keeping two leftovers,
// `planning` after reading the store; tries again while another program
// changes the store in between.
bool WriteOff(StockStore& store, const std::string& order,
              std::chrono::microseconds planning = {}) {
    for (;;) {
        const stock::Result<stock::BarStock> held = store.Stock(Size);
        std::this_thread::sleep_for(planning);
        const stock::Status done =
            store.WriteOffPlan({Size, order, {{3000, 1}}, {{6000, 1}}, {{1200, 2}}, held.value});
        if (done.error != stock::StockChanged)
            return done.ok;
    }
}

// A child that opens the store, says so through `ready` and writes off and
// undoes until it is killed.
[[noreturn]] void WriteOffAndUndoForever(const std::string& path, int round, int ready) {
    StockStore store = std::move(StockStore::Open(path).value);
    if (::write(ready, "r", 1) != 1)
        std::_Exit(1);
    for (int i = 0;; ++i) {
        const std::string order = std::to_string(round) + "-" + std::to_string(i);
        WriteOff(store, order);
        if (i % 2)
            store.UndoLastWriteOff(order);
    }
}

int Rounds() {
    const char* rounds = std::getenv("STOCK_KILL_ROUNDS");
    return rounds ? std::atoi(rounds) : 30;
}

// Killed at any moment, a change is in the file whole with its journal entry
// or not at all: the store always opens and equals what its journal adds up to.
TEST(StockCrash, KilledWriterLeavesAStoreItsJournalAddsUpTo) {
    TempFolder folder;
    const std::string path = Prepared(folder);
    std::mt19937 random(std::random_device{}());
    size_t entries = 2;
    for (int round = 0; round < Rounds(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0)
            WriteOffAndUndoForever(path, round, ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 50'000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        StockStore store = Opened(path);
        const std::vector<stock::JournalEntry> journal = store.Journal().value;
        ASSERT_EQ(Replayed(journal, Size), store.Stock(Size).value);
        entries = journal.size();
    }
    EXPECT_GT(entries, 2u + static_cast<size_t>(Rounds()));
}

// Two programs writing off at once: each waits for the other's change rather
// than fail, and is refused, not merged, when its plan was made before it.
TEST(StockCrash, TwoWritersLoseNothing) {
    TempFolder folder;
    const std::string path = Prepared(folder);
    constexpr int Each = 20;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (const char name : {'A', 'B'}) {
        children[name - 'A'] = ::fork();
        if (children[name - 'A'] == 0) {
            StockStore store = std::move(StockStore::Open(path).value);
            char byte = 0;
            bool all = ::read(start[0], &byte, 1) == 1;
            for (int i = 0; i < Each; ++i)
                all =
                    WriteOff(store, name + std::to_string(i), std::chrono::milliseconds(1)) && all;
            std::_Exit(all ? 0 : 1);
        }
    }
    ASSERT_EQ(::write(start[1], "go", 2), 2);
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    StockStore store = Opened(path);
    EXPECT_EQ(store.Stock(Size).value,
              (stock::BarStock{{{6000, 100'000 - 2 * Each}},
                               {{3000, 100'000 - 2 * Each}, {1200, 4 * Each}}}));
    EXPECT_EQ(store.Journal().value.size(), 2u + 2 * Each);
}

} // namespace
