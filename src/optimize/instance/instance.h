#pragma once

// The solver's own view of a cutting problem: distinct piece sizes (a piece's
// length plus one saw cut), longest first, with how many of each are needed,
// and one bar capacity (usable length plus one saw cut).

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace cutting::detail {

struct Instance {
    int capacity = 0;
    std::vector<int> size;   // strictly decreasing
    std::vector<int> demand; // >= 1 each

    int Types() const { return static_cast<int>(size.size()); }
    long long TotalSize() const;
    int Pieces() const;
};

// A bar's content: how many pieces of each size it holds.
using Bar = std::vector<int>;
using Packing = std::vector<Bar>;

// A hash of counts (a bar's content, a state of a search), for the sets that
// find repeats among thousands of them.
struct CountsHash {
    size_t operator()(const std::vector<int>& counts) const {
        constexpr std::uint64_t Prime = 1099511628211u;
        std::uint64_t h = 1469598103934665603u;
        for (int v : counts) {
            h ^= static_cast<std::uint32_t>(v);
            h *= Prime;
        }
        return static_cast<size_t>(h);
    }
};

// A bar's content as (size, count) for the sizes it holds, in the order of
// the sizes: what a plan keeps of its bars. With thousands of sizes a count
// for every size would take megabytes for every thousand bars, and the time
// to fill and read them.
using SparseBar = std::vector<std::pair<int, int>>;
using SparsePacking = std::vector<SparseBar>;
SparseBar Sparse(const Bar& bar);
SparsePacking Sparse(const Packing& packing);
Packing Dense(const SparsePacking& packing, size_t types);

// Loops whose steps are cheap look at the clock only this often (a few
// milliseconds of work).
constexpr long long StepsBetweenChecks = 1LL << 22;

// A kind of bar to cut pieces from: a stock length or an offcut on hand.
struct Kind {
    int capacity = 0;   // usable length plus one saw cut
    long long cost = 1; // what a bar of it costs
    int count = -1;     // bars of it to be had, -1 for any number
};
// One bar of a kind and its content.
struct Cut {
    int kind = 0;
    Bar bar;
};
using Cuts = std::vector<Cut>;

bool IsValidPacking(const Instance& in, const Packing& packing);
bool IsValidPacking(const Instance& in, const SparsePacking& packing);
long long BarFill(const Instance& in, const Bar& bar);
// The pieces `left` (a count for each size of `in`) as an instance of their
// own on the same bars, and which size of `in` each of its sizes is.
struct Remainder {
    Instance in;
    std::vector<size_t> type;
};
Remainder RemainderOf(const Instance& in, const std::vector<int>& left);
// The restart schedule of the searches: 1, 1, 2, 1, 1, 2, 4, 1, 1, 2, ...
// (i from 1), so that some restarts are long whatever length would have paid.
long long Luby(int i);

} // namespace cutting::detail
