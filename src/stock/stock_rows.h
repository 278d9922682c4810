#pragma once

// The rules of the store's rows, apart from the file: rows read from what
// the caller gives, the difference a correction journals, and what a
// write-off and its undo do to a bar size's store.

#include "stock_store.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace stock {

// Length → count, longest first; no row of count 0.
using Rows = std::map<int, int, std::greater<>>;

struct Held {
    Rows stock;
    Rows offcuts;
};

enum class RowKind {
    StockLengths, // a count may be Unlimited; a length given twice is refused
    Pieces,       // rows of the same length are added up
};

// The rows one per length, or the message for the first refused row, which
// `what` names.
std::string ReadRows(const std::vector<Bars>& rows, RowKind kind, const std::string& what,
                     Rows& out);
std::vector<Bars> ListOf(const Rows& rows);

std::string CheckBarSize(int barSize);
std::string CheckOrder(const std::string& order);

// What went from `before` to `after`, longest first.
void Difference(const Rows& before, const Rows& after, std::vector<Bars>& taken,
                std::vector<Bars>& added);

// The cuts of a write-off and what it keeps, each checked and one row per length.
struct Cuts {
    Rows offcuts;
    Rows stock;
    Rows kept;
    Held planned;
};
std::string ReadWriteOff(const WriteOff& writeOff, Cuts& cuts);

// Takes the cuts out of the store and adds what they keep; the message when
// the store cannot take it, else "".
std::string ApplyWriteOff(Held& held, const Cuts& cuts, Change& taken, Change& added);
// Puts back what the write-off took and takes what it added; the message
// when the offcuts it added are gone, else "".
std::string ApplyUndo(Held& held, const JournalEntry& writeOff, Change& taken, Change& added);

} // namespace stock
