#pragma once

// The bar a workshop keeps between orders, per bar size (the side of the
// square bar in millimetres): its stock lengths ("плети"), each with a count
// or bought as needed, its offcuts on hand, and a journal of every change, in
// one SQLite database file.
//
// Every answer is a value, never an exception: ok, or the reason in Russian
// (naming the file when the file is at fault), with the store as it was.
// Each change is one transaction stored whole with its journal entry, or not
// at all, also when the program is killed half-way. Several programs may
// share the file: a change waits up to 5 s for another's to end. A store is
// used by one thread at a time.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace stock {

// A stock length bought as needed rather than counted in store.
inline constexpr int Unlimited = -1;
inline constexpr int MostLength = 1'000'000; // mm
inline constexpr int MostCount = 1'000'000;
inline constexpr int MostBarSize = 32767; // mm
inline constexpr std::size_t MostOrderBytes = 255;
// The layout of the tables this program writes (PRAGMA user_version).
inline constexpr int SchemaVersion = 1;

// `count` bars or offcuts of `length` mm; a stock length may count Unlimited.
struct Bars {
    int length = 0;
    int count = 0;
    friend bool operator==(const Bars&, const Bars&) = default;
};

// What the store holds of one bar size: a row per length, longest first, and
// no row for a length none of which is left.
struct BarStock {
    std::vector<Bars> stock;
    std::vector<Bars> offcuts;
    friend bool operator==(const BarStock&, const BarStock&) = default;
};

enum class EntryKind { WriteOff, Correction, Undo };

// "списание", "правка", "отмена".
const char* KindText(EntryKind kind);

// What a journal entry took from the store or added to it, longest first.
// A stock length that starts or stops being bought as needed shows as
// Unlimited bars of it taken or added.
struct Change {
    std::vector<Bars> stock;
    std::vector<Bars> offcuts;
    friend bool operator==(const Change&, const Change&) = default;
};

// "плети 2 × 6000; обрезки 2 × 1500, 1 × 980", "∞ × 6000" for a stock
// length bought as needed; "" when the change holds nothing.
std::string ChangeText(const Change& change);

struct JournalEntry {
    long long id = 0;
    long long time = 0; // Unix seconds, UTC
    int barSize = 0;
    std::string order; // empty for a correction
    EntryKind kind = EntryKind::Correction;
    Change taken;
    Change added;
};

struct Status {
    bool ok = false;
    std::string error; // in Russian, when !ok
};

template <typename T> struct Result : Status { T value{}; };

// An accepted cutting plan, to be taken out of the store. Stock bars of a
// length bought as needed change nothing in the store and are left out of
// the journal entry, which lists only what left the store and came into it.
struct WriteOff {
    int barSize = 0;
    std::string order;
    std::vector<Bars> offcutsCut; // offcuts on hand the plan cuts
    std::vector<Bars> stockCut;   // stock bars it cuts
    std::vector<Bars> kept;       // leftovers worth keeping, added as offcuts
    BarStock planned;             // the bar size's store as read for the plan
};

// The refusal of a write-off whose plan was made from another store.
inline constexpr const char* StockChanged =
    "Склад изменился после расчёта раскроя: пересчитайте раскрой.";

class Database;

class StockStore {
public:
    // A store that is not open: every call refuses.
    StockStore();
    ~StockStore();
    StockStore(StockStore&&) noexcept;
    StockStore& operator=(StockStore&&) noexcept;

    // Opens the store at `path`, making the file and its folders when the
    // file is missing and bringing an older layout up to date. Refuses, and
    // leaves the file byte for byte as it was, a file that is not a database
    // of this program, a damaged one, one written by a newer version, and a
    // file or folder that cannot be written.
    static Result<StockStore> Open(const std::string& path);

    const std::string& path() const noexcept { return path_; }

    Result<BarStock> Stock(int barSize) const;
    // The bar sizes the store holds anything of, smallest first.
    Result<std::vector<int>> BarSizes() const;
    // Newest first.
    Result<std::vector<JournalEntry>> Journal() const;

    // Replace the bar size's stock lengths or its offcuts as a whole,
    // journaled as a correction of the difference. Rows of the same length
    // are refused among stock lengths and added up among offcuts; rows of
    // count 0 are left out.
    Status ReplaceStock(int barSize, const std::vector<Bars>& stock);
    Status ReplaceOffcuts(int barSize, const std::vector<Bars>& offcuts);

    // Takes the plan's offcuts and counted stock bars out of the store and
    // adds what it keeps, journaled as a write-off of the order. Refused with
    // StockChanged when the bar size's store is no longer what the plan was
    // made from, and with a message of its own when the plan cuts more than
    // that store held.
    Status WriteOffPlan(const WriteOff& writeOff);
    // Puts back the order's latest write-off not undone yet, when the
    // offcuts it added are all still there; journaled as an undo.
    Status UndoLastWriteOff(const std::string& order);

private:
    StockStore(std::unique_ptr<Database> db, std::string path);
    Status Replace(int barSize, const std::vector<Bars>& rows, bool stockLengths);

    std::unique_ptr<Database> db_;
    std::string path_;
};

} // namespace stock
