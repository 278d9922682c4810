#include "price_bar.h"

#include "pricing.h"
#include "safe_bound.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <cmath>

namespace cutting::detail {

namespace {

// A size worth pricing: its index, length, worth and how many copies fit.
struct Item {
    size_t type;
    int size;
    long long worth;
    int copies;
};

// The table over every length of the bar is exact whatever the sizes; it is
// used outright when it is small, and to settle what the branch and bound
// leaves open when asked to and not too large.
constexpr double SmallTable = 1 << 20;
constexpr double LargeTable = 1e8;

long long ByTable(const Instance& in, const std::vector<long long>& value,
                  const std::vector<int>& limit, long long wanted, std::vector<Bar>& found,
                  const Stop& stop, Pricing& table) {
    if (!table.Fill(in, value, limit, stop))
        return NoBound;
    Bar bar;
    const long long result = table.Best(in.capacity, bar);
    if (result > wanted)
        found.push_back(std::move(bar));
    return result;
}

// The coarse table bounds the branch and bound with lengths in this many
// units at most.
constexpr int CoarseCells = 1000;

// Branch and bound over the sizes by falling worth per millimetre, bounded by
// the coarse table (a suffix knapsack in coarse units). When it gives up, what it left unexplored
// is bounded by the table too, so its answer is still an upper bound.
class BranchAndBound {
public:
    BranchAndBound(const std::vector<Item>& items, const SuffixKnapsack& bound, long long wanted,
                   const Stop& stop)
        : items_(items), bound_(bound), wanted_(wanted), stop_(stop), take_(items.size(), 0) {}

    // False when stopped before it finished.
    bool Run(int capacity) {
        Visit(0, capacity, 0.0);
        return !stopped_;
    }
    long long Best() const { return best_; }
    // No bar is worth more.
    long long UpperBound() const { return std::max(best_, open_); }
    // The bars that beat `wanted`, each better than the one before.
    const std::vector<std::vector<int>>& Improving() const { return improving_; }

private:
    static constexpr long long NodeLimit = 100000;
    static constexpr long long NodeWork = 12; // steps of work a node
    static constexpr size_t Kept = 8;

    void Visit(size_t from, int room, long long worth) {
        if ((nodes_ & 1023) == 0)
            stop_.Spend(1024 * NodeWork);
        if (++nodes_ > NodeLimit || ((nodes_ & 1023) == 0 && stop_.Now())) {
            aborted_ = true;
            stopped_ = stop_.Now();
            return;
        }
        if (worth > best_) {
            best_ = worth;
            if (worth > wanted_) {
                if (improving_.size() == Kept)
                    improving_.erase(improving_.begin());
                improving_.push_back(take_);
            }
        }
        for (size_t k = from; k < items_.size(); ++k) {
            // The bound only falls as sizes drop out, so nothing later can pay.
            const long long most = worth + bound_.Bound(k, room);
            if (most <= best_)
                break;
            const Item& item = items_[k];
            if (item.size > room)
                continue;
            for (int n = std::min(item.copies, room / item.size); n > 0 && !aborted_; --n) {
                take_[k] = n;
                Visit(k + 1, room - n * item.size, worth + n * item.worth);
            }
            take_[k] = 0;
            if (aborted_) {
                open_ = std::max(open_, most);
                return;
            }
        }
    }

    const std::vector<Item>& items_;
    const SuffixKnapsack& bound_;
    long long wanted_;
    const Stop& stop_;
    std::vector<int> take_;
    std::vector<std::vector<int>> improving_;
    long long best_ = 0;
    long long open_ = 0;
    long long nodes_ = 0;
    bool aborted_ = false;
    bool stopped_ = false;
};

} // namespace

long long PriceBar(const Instance& in, const std::vector<long long>& value,
                   const std::vector<int>& limit, long long wanted, std::vector<Bar>& found,
                   const Stop& stop, bool exact, PricingScratch* scratch) {
    PricingScratch local;
    PricingScratch& work = scratch != nullptr ? *scratch : local;
    std::vector<Item> items;
    double lots = 0.0;
    for (size_t i = 0; i < in.size.size(); ++i) {
        const int copies = std::min(limit[i], in.capacity / in.size[i]);
        if (value[i] > 0 && copies > 0) {
            items.push_back({i, in.size[i], value[i], copies});
            lots += std::log2(copies) + 1.0;
        }
    }
    if (items.empty())
        return 0;
    const double table = lots * (in.capacity + 1.0);
    if (table <= SmallTable)
        return ByTable(in, value, limit, wanted, found, stop, work.table);
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return static_cast<Wide>(a.worth) * b.size > static_cast<Wide>(b.worth) * a.size;
    });
    std::vector<SuffixKnapsack::Item> byWorth;
    for (const Item& item : items)
        byWorth.push_back({item.size, item.worth, item.copies});
    const int unit = std::max(1, in.capacity / CoarseCells);
    const long long cells = in.capacity / unit + 1;
    if (!work.coarse.Fill(byWorth, in.capacity, unit, cells * 5 / 2, stop, true))
        return NoBound;
    BranchAndBound search(items, work.coarse, wanted, stop);
    if (!search.Run(in.capacity))
        return NoBound;
    // Many bars nearly as good as the best keep it from finishing: the table
    // over every millimetre settles it, when it is not too large.
    if (exact && search.UpperBound() > search.Best() && table <= LargeTable)
        return ByTable(in, value, limit, wanted, found, stop, work.table);
    for (const std::vector<int>& take : search.Improving()) {
        Bar bar(in.size.size(), 0);
        for (size_t k = 0; k < items.size(); ++k)
            bar[items[k].type] = take[k];
        found.push_back(std::move(bar));
    }
    return search.UpperBound();
}

} // namespace cutting::detail
