#include "suffix_knapsack.h"

#include <algorithm>

namespace cutting::detail {

bool SuffixKnapsack::Fill(const std::vector<Item>& items, int capacity, int unit, long long rowWork,
                          const Stop& stop, bool check) {
    unit_ = std::max(unit, 1);
    cells_ = static_cast<size_t>(capacity / unit_) + 1;
    table_.assign((items.size() + 1) * cells_, 0);
    for (size_t k = items.size(); k-- > 0;) {
        stop.Spend(rowWork);
        if (check && stop.Now())
            return false;
        long long* row = &table_[k * cells_];
        std::copy(row + cells_, row + 2 * cells_, row);
        // The copies in lots of 1, 2, 4, ...: every count up to them is a sum
        // of lots, each lot a 0-1 item.
        const Item& item = items[k];
        for (int left = item.copies, take = 1; left > 0; take *= 2) {
            const int n = std::min(take, left);
            left -= n;
            const size_t w = static_cast<size_t>(item.size / unit_) * static_cast<size_t>(n);
            const long long v = item.worth * n;
            for (size_t c = cells_; c-- > w;)
                row[c] = std::max(row[c], row[c - w] + v);
        }
    }
    return true;
}

} // namespace cutting::detail
