#include "bar_counts.h"

#include "mixed_bars.h"
#include "single.h"
#include "solution.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <functional>
#include <map>

namespace cutting::detail {

namespace {

// Ways of adding up stock bars to a sum beyond this many steps are not
// listed to the end: a stock length of a few millimetres and a long order.
constexpr long long MostSteps = 1000000;

class CountsSearch {
public:
    CountsSearch(const MixedProblem& p, size_t most) : p_(p), most_(most) {
        counts_.assign(p.kinds.size(), 0);
        for (size_t k = 0; k < p.kinds.size(); ++k)
            if (p.kinds[k].cost == 0)
                counts_[k] = std::max(p.kinds[k].count, 0);
            else
                stock_.push_back(k);
    }

    CountsOfSum Run(long long sum) {
        if (!stock_.empty())
            Next(0, sum);
        else if (sum == 0)
            Add();
        return result_;
    }

private:
    // Tries every count of stock kind `j`, most first, with `rest` left to
    // add up to.
    void Next(size_t j, long long rest) {
        const size_t k = stock_[j];
        const Kind& kind = p_.kinds[k];
        long long most = rest / kind.cost;
        if (kind.count >= 0)
            most = std::min<long long>(most, kind.count);
        if (j + 1 == stock_.size()) {
            if (rest % kind.cost == 0 && rest / kind.cost <= most) {
                counts_[k] = static_cast<int>(rest / kind.cost);
                Add();
            }
        } else {
            for (long long n = most; n >= 0 && result_.complete; --n) {
                if (++steps_ > MostSteps) {
                    result_.complete = false;
                    break;
                }
                counts_[k] = static_cast<int>(n);
                Next(j + 1, rest - n * kind.cost);
            }
        }
        counts_[k] = 0;
    }

    void Add() {
        if (result_.counts.size() >= most_)
            result_.complete = false;
        else
            result_.counts.push_back(counts_);
    }

    const MixedProblem& p_;
    const size_t most_;
    std::vector<size_t> stock_; // the kinds that cost something
    std::vector<int> counts_;
    long long steps_ = 0;
    CountsOfSum result_;
};

// A size of the problem for one length: a piece of the order, the stand-ins
// of kinds shorter than the longest by as much, or both.
struct SizeOfOne {
    int piece = -1;            // the order's size, if any
    std::vector<int> standIns; // a kind a stand-in, cheapest first
    int demand = 0;
};

class OneLength {
public:
    OneLength(const MixedProblem& p, const std::vector<int>& counts, int capacity) : p_(p) {
        std::map<int, SizeOfOne, std::greater<>> sizes;
        for (size_t i = 0; i < p.in.size.size(); ++i) {
            sizes[p.in.size[i]].piece = static_cast<int>(i);
            sizes[p.in.size[i]].demand += p.in.demand[i];
        }
        for (size_t k : ByCost(counts))
            if (p.kinds[k].capacity < capacity) {
                SizeOfOne& s = sizes[capacity - p.kinds[k].capacity];
                s.standIns.insert(s.standIns.end(), static_cast<size_t>(counts[k]),
                                  static_cast<int>(k));
                s.demand += counts[k];
            } else {
                whole_.insert(whole_.end(), static_cast<size_t>(counts[k]), static_cast<int>(k));
            }
        in_.capacity = capacity;
        for (auto& [size, s] : sizes) {
            in_.size.push_back(size);
            in_.demand.push_back(s.demand);
            sizes_.push_back(std::move(s));
        }
    }

    const Instance& Problem() const { return in_; }
    Assigned PlanOf(const std::vector<PlannedBar>& packing);

private:
    std::vector<size_t> ByCost(const std::vector<int>& counts) const {
        std::vector<size_t> kinds;
        for (size_t k = 0; k < counts.size(); ++k)
            if (counts[k] > 0)
                kinds.push_back(k);
        std::stable_sort(kinds.begin(), kinds.end(), [this](size_t a, size_t b) {
            return p_.kinds[a].cost < p_.kinds[b].cost;
        });
        return kinds;
    }
    std::vector<int> StandInsOf(const std::vector<PlannedBar>& packing) const;
    int KindOf(const SparseBar& bar, const std::vector<int>& standIns, size_t& whole);

    const MixedProblem& p_;
    Instance in_;
    std::vector<SizeOfOne> sizes_;
    std::vector<int> whole_; // the kinds of the longest, a bar each, cheapest first
    std::vector<size_t> nextStandIn_;
};

// How many of each bar's pieces stand in for bars of shorter kinds: one a
// bar first, so that as many bars as there can be go to shorter kinds, then
// the rest wherever they are. Which copies of a size stand in does not
// matter: any choice leaves each bar within the kinds it stands for.
std::vector<int> OneLength::StandInsOf(const std::vector<PlannedBar>& packing) const {
    std::vector<size_t> left(sizes_.size());
    for (size_t t = 0; t < sizes_.size(); ++t)
        left[t] = sizes_[t].standIns.size();
    std::vector<int> taken; // per bar and item of its content
    std::vector<size_t> start;
    for (const PlannedBar& bar : packing) {
        start.push_back(taken.size());
        bool one = false;
        for (const auto& [type, count] : bar.content) {
            const int take = !one && left[static_cast<size_t>(type)] > 0 ? 1 : 0;
            left[static_cast<size_t>(type)] -= static_cast<size_t>(take);
            one = one || take > 0;
            taken.push_back(take);
        }
    }
    for (size_t b = 0; b < packing.size(); ++b)
        for (size_t j = 0; j < packing[b].content.size(); ++j) {
            const auto [type, count] = packing[b].content[j];
            size_t& l = left[static_cast<size_t>(type)];
            const auto more = std::min<size_t>(l, static_cast<size_t>(count - taken[start[b] + j]));
            taken[start[b] + j] += static_cast<int>(more);
            l -= more;
        }
    return taken;
}

// The cheapest kind among the stand-ins a bar holds, or else a bar of the
// longest; the stand-ins are used up, cheapest first.
int OneLength::KindOf(const SparseBar& bar, const std::vector<int>& standIns, size_t& whole) {
    int kind = -1;
    for (size_t j = 0; j < bar.size(); ++j)
        for (int n = 0; n < standIns[j]; ++n) {
            const auto type = static_cast<size_t>(bar[j].first);
            const int k = sizes_[type].standIns[nextStandIn_[type]++];
            if (kind < 0 ||
                p_.kinds[static_cast<size_t>(k)].cost < p_.kinds[static_cast<size_t>(kind)].cost)
                kind = k;
        }
    if (kind >= 0)
        return kind;
    // Past the counts given (stand-ins sharing a bar leave more bars of the
    // longest), another bar of its last kind: the plan is checked anyway.
    return whole_.empty() ? 0 : whole_[std::min(whole++, whole_.size() - 1)];
}

Assigned OneLength::PlanOf(const std::vector<PlannedBar>& packing) {
    const std::vector<int> standIns = StandInsOf(packing);
    nextStandIn_.assign(sizes_.size(), 0);
    size_t whole = 0, at = 0;
    Assigned plan;
    for (const PlannedBar& bar : packing) {
        SparseBar pieces;
        for (size_t j = 0; j < bar.content.size(); ++j) {
            const auto [type, count] = bar.content[j];
            const int piece = sizes_[static_cast<size_t>(type)].piece;
            if (count > standIns[at + j] && piece >= 0)
                pieces.push_back({piece, count - standIns[at + j]});
        }
        const std::vector<int> mine(standIns.begin() + static_cast<std::ptrdiff_t>(at),
                                    standIns.begin() +
                                        static_cast<std::ptrdiff_t>(at + bar.content.size()));
        at += bar.content.size();
        if (pieces.empty())
            continue; // stand-ins alone: a bar not bought, an offcut not used
        std::sort(pieces.begin(), pieces.end());
        plan.push_back({KindOf(bar.content, mine, whole), std::move(pieces)});
    }
    return plan;
}

} // namespace

CountsOfSum CountsAddingUpTo(const MixedProblem& p, long long sum, size_t most) {
    return CountsSearch(p, most).Run(sum);
}

ByCounts PlanWithCounts(const MixedProblem& p, const std::vector<int>& counts, double timeLimit,
                        const Stop& stop, const Parameters& parameters) {
    ByCounts result;
    int capacity = 0, bars = 0;
    for (size_t k = 0; k < counts.size(); ++k)
        if (counts[k] > 0) {
            capacity = std::max(capacity, p.kinds[k].capacity);
            bars += counts[k];
        }
    if (bars == 0 || p.in.size.front() > capacity) {
        result.ruledOut = true;
        return result;
    }
    OneLength one(p, counts, capacity);
    const Solution s = SolveSingle(
        one.Problem(), capacity, timeLimit, stop, [](int, long long, int, long long) {},
        parameters);
    result.ruledOut = s.lowerBound > bars;
    if (!s.bars.empty())
        result.bars = one.PlanOf(s.bars);
    return result;
}

} // namespace cutting::detail
