#include "pricing.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <algorithm>

namespace cutting::detail {

namespace {

// One bit per lot and millimetre: up to a few tens of megabytes. Beyond that
// a fill would take seconds anyway, so such a problem goes unpriced.
constexpr size_t MostBits = size_t{1} << 28;

} // namespace

template <typename Value> bool BasicPricing<Value>::Fits(const Instance& in) {
    size_t lots = 0;
    for (size_t i = 0; i < in.size.size(); ++i)
        for (int copies = std::min(in.demand[i], in.capacity / in.size[i]), k = 1; copies > 0;
             k *= 2) {
            copies -= std::min(k, copies);
            ++lots;
        }
    return std::max<size_t>(lots, 1) * (static_cast<size_t>(in.capacity) + 1) <= MostBits;
}

template <typename Value>
bool BasicPricing<Value>::Fill(const Instance& in, const std::vector<Value>& value,
                               const std::vector<int>& limit, const Stop& stop) {
    types_ = in.size.size();
    width_ = static_cast<size_t>(in.capacity) + 1;
    lots_.clear();
    for (size_t i = 0; i < in.size.size(); ++i) {
        if (value[i] <= 0)
            continue;
        int copies = std::min(limit[i], in.capacity / in.size[i]);
        for (int k = 1; copies > 0; k *= 2) {
            const int take = std::min(k, copies);
            lots_.push_back({i, in.size[i], take});
            copies -= take;
        }
    }
    const size_t bits = std::max<size_t>(lots_.size(), 1) * width_;
    if (bits > MostBits)
        return false;
    table_.assign((bits + 63) / 64, 0);
    best_.assign(width_, 0);
    long long steps = 0;
    for (size_t l = 0; l < lots_.size(); ++l) {
        steps += static_cast<long long>(width_);
        stop.Spend(static_cast<long long>(width_) / 2);
        if (steps > StepsBetweenChecks) {
            steps = 0;
            if (stop.Now())
                return false;
        }
        const Lot& lot = lots_[l];
        const size_t w = static_cast<size_t>(lot.size) * static_cast<size_t>(lot.copies);
        const Value v = value[lot.type] * lot.copies;
        const size_t row = l * width_;
        for (size_t c = width_; c-- > w;)
            if (best_[c - w] + v > best_[c]) {
                best_[c] = best_[c - w] + v;
                table_[(row + c) / 64] |= std::uint64_t{1} << ((row + c) % 64);
            }
    }
    return true;
}

template <typename Value> Value BasicPricing<Value>::Best(int capacity, Bar& bar) const {
    bar.assign(types_, 0);
    size_t c = static_cast<size_t>(capacity);
    const Value result = best_[c];
    for (size_t l = lots_.size(); l-- > 0;) {
        const size_t at = l * width_ + c;
        if ((table_[at / 64] >> (at % 64)) & 1u) {
            bar[lots_[l].type] += lots_[l].copies;
            c -= static_cast<size_t>(lots_[l].size) * static_cast<size_t>(lots_[l].copies);
        }
    }
    return result;
}

template class BasicPricing<long long>;
template class BasicPricing<double>;

} // namespace cutting::detail
