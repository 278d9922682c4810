#include "counted_search.h"

#include "mixed_bars.h"
#include "solution.h"

#include "optimize/heuristics/fits.h"
#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <numeric>

namespace cutting::detail {

namespace {

// The work of one node of the search, in the steps of stop.h.
constexpr long long NodeWork = 50;

// The forced pieces one by one, each into an open bar or a new counted one.
// Open bars matter to the pieces left only by their free length, so of open
// bars with the same free length only the first is tried, and of new bars
// only one of each capacity. Copies of one size go into bars in the order the
// bars were opened (swapping two copies changes nothing).
class CountedPacking {
public:
    CountedPacking(const MixedProblem& p, size_t forcedTypes) : p_(p) {
        for (size_t t = 0; t < forcedTypes; ++t)
            items_.insert(items_.end(), static_cast<size_t>(p.in.demand[t]), t);
        left_.assign(p.kinds.size(), 0);
        for (size_t k = 0; k < p.kinds.size(); ++k)
            if (p.kinds[k].count > 0) {
                left_[k] = p.kinds[k].count;
                unopened_ += static_cast<long long>(p.kinds[k].count) * p.kinds[k].capacity;
            }
        // Of two counted kinds of one capacity, one stands for both.
        for (size_t k = 0; k < p.kinds.size(); ++k)
            if (p.kinds[k].count > 0)
                byCapacity_.push_back(k);
        std::stable_sort(byCapacity_.begin(), byCapacity_.end(), [&](size_t a, size_t b) {
            return p.kinds[a].capacity < p.kinds[b].capacity;
        });
        for (size_t item : items_)
            toPlace_ += p.in.size[item];
    }

    Verdict Run(const Stop& stop) {
        long long nodes = 0;
        choice_.assign(items_.size() + 1, 0);
        bin_.assign(items_.size(), 0);
        opened_.assign(items_.size(), false);
        size_t depth = 0;
        while (true) {
            if (depth == items_.size())
                return Verdict::Found;
            if (++nodes % 4096 == 0) {
                stop.Spend(4096 * NodeWork);
                if (stop.Now())
                    return Verdict::Stopped;
            }
            if (Advance(depth)) {
                ++depth;
                choice_[depth] = 0;
                continue;
            }
            if (depth == 0)
                return Verdict::Impossible;
            --depth;
            Undo(depth);
        }
    }

    std::vector<PlannedBar> Bars() const {
        std::vector<Bar> content(bars_.size(), Bar(p_.in.size.size(), 0));
        for (size_t i = 0; i < items_.size(); ++i)
            ++content[static_cast<size_t>(bin_[i])][items_[i]];
        std::vector<PlannedBar> planned;
        for (size_t b = 0; b < bars_.size(); ++b)
            planned.push_back({bars_[b].kind, Sparse(content[b])});
        return planned;
    }

    // The bars of each kind the packing leaves to be had, -1 for any number.
    std::vector<int> Left() const {
        std::vector<int> left = left_;
        for (size_t k = 0; k < p_.kinds.size(); ++k)
            if (p_.kinds[k].count < 0)
                left[k] = -1;
        return left;
    }

private:
    struct OpenBar {
        int kind = 0;
        long long free = 0;
    };

    // Places item `depth` by its next untried choice: the open bars first,
    // then a new bar of each counted capacity, shortest first; false when
    // none is left or the pieces left can no longer fit.
    bool Advance(size_t depth) {
        const size_t item = items_[depth];
        const long long size = p_.in.size[item];
        if (choice_[depth] == 0 && !MayFit())
            return false;
        const size_t first =
            depth > 0 && items_[depth - 1] == item ? static_cast<size_t>(bin_[depth - 1]) : 0;
        const size_t open = bars_.size();
        for (size_t& c = choice_[depth]; c < open + byCapacity_.size(); ++c) {
            if (c < first)
                continue;
            if (c < open) {
                if (bars_[c].free < size || SeenFree(first, c))
                    continue;
                bars_[c].free -= size;
            } else {
                const size_t k = byCapacity_[c - open];
                if (left_[k] == 0 || p_.kinds[k].capacity < size || SeenCapacity(c - open))
                    continue;
                --left_[k];
                unopened_ -= p_.kinds[k].capacity;
                bars_.push_back({static_cast<int>(k), p_.kinds[k].capacity - size});
            }
            bin_[depth] = static_cast<int>(std::min(c, open));
            opened_[depth] = c >= open;
            toPlace_ -= size;
            ++c;
            return true;
        }
        return false;
    }

    // Takes item `depth` out of its bar, and the bar away when the item
    // opened it; the next choice stays counted against the bars open before.
    void Undo(size_t depth) {
        const auto b = static_cast<size_t>(bin_[depth]);
        const long long size = p_.in.size[items_[depth]];
        toPlace_ += size;
        bars_[b].free += size;
        if (opened_[depth]) {
            const auto k = static_cast<size_t>(bars_[b].kind);
            ++left_[k];
            unopened_ += p_.kinds[k].capacity;
            bars_.pop_back();
        }
    }

    // Whether the free length that can still take the shortest piece left,
    // in open and unopened bars, holds all pieces left.
    bool MayFit() const {
        const long long shortest = p_.in.size[items_.back()];
        long long room = unopened_;
        for (const OpenBar& bar : bars_)
            room += bar.free >= shortest ? bar.free : 0;
        return room >= toPlace_;
    }

    bool SeenFree(size_t from, size_t c) const {
        for (size_t b = from; b < c; ++b)
            if (bars_[b].free == bars_[c].free)
                return true;
        return false;
    }

    // Whether a counted kind of the same capacity comes before kind `at`.
    bool SeenCapacity(size_t at) const {
        const int capacity = p_.kinds[byCapacity_[at]].capacity;
        for (size_t j = 0; j < at; ++j)
            if (left_[byCapacity_[j]] > 0 && p_.kinds[byCapacity_[j]].capacity == capacity)
                return true;
        return false;
    }

    const MixedProblem& p_;
    std::vector<size_t> items_;      // the forced pieces' sizes, longest first
    std::vector<size_t> choice_;     // per depth: the next choice to try
    std::vector<int> bin_;           // per depth: the bar the piece went into
    std::vector<bool> opened_;       // per depth: the piece opened that bar
    std::vector<OpenBar> bars_;      // in the order they were opened
    std::vector<int> left_;          // counted bars of each kind not opened
    std::vector<size_t> byCapacity_; // counted kinds, shortest first
    long long unopened_ = 0;         // capacity of the counted bars not opened
    long long toPlace_ = 0;          // size of the pieces not placed
};

} // namespace

FirstPlan FindFirstPlan(const MixedProblem& p, const Stop& stop) {
    int anyNumber = 0; // capacity of the longest kind of any number
    for (const Kind& kind : p.kinds)
        if (kind.count < 0)
            anyNumber = std::max(anyNumber, kind.capacity);
    size_t forced = 0;
    while (forced < p.in.size.size() && p.in.size[forced] > anyNumber)
        ++forced;

    CountedPacking packing(p, forced);
    FirstPlan plan;
    plan.verdict = packing.Run(stop);
    if (plan.verdict != Verdict::Found)
        return plan;
    plan.bars = packing.Bars();
    if (forced == p.in.size.size())
        return plan;

    // The rest first fit on bars of the longest kind of any number, each bar
    // then given the cheapest kind that holds it.
    std::vector<int> rest = p.in.demand;
    std::fill(rest.begin(), rest.begin() + static_cast<long>(forced), 0);
    Remainder remainder = RemainderOf(p.in, rest);
    remainder.in.capacity = anyNumber;
    SparsePacking bars = FirstFitSparse(remainder.in);
    for (SparseBar& bar : bars)
        for (auto& item : bar)
            item.first = static_cast<int>(remainder.type[static_cast<size_t>(item.first)]);
    for (PlannedBar& bar : AssignCheapest(p, std::move(bars), packing.Left()))
        plan.bars.push_back(std::move(bar));
    return plan;
}

} // namespace cutting::detail
