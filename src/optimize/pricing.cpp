#include "pricing.h"

#include <algorithm>

namespace cutting::detail {

namespace {

constexpr double Tolerance = 1e-9;
constexpr size_t MostBits = size_t{1} << 28;

} // namespace

bool Pricing::Fits(const Instance& in) {
    size_t lots = 0;
    for (size_t i = 0; i < in.size.size(); ++i)
        for (int copies = std::min(in.demand[i], in.capacity / in.size[i]), k = 1; copies > 0;
             k *= 2) {
            copies -= std::min(k, copies);
            ++lots;
        }
    return std::max<size_t>(lots, 1) * (static_cast<size_t>(in.capacity) + 1) <= MostBits;
}

bool Pricing::fill(const std::vector<double>& value, const std::vector<int>& limit,
                   const Stop& stop) {
    const size_t width = static_cast<size_t>(in_.capacity) + 1;
    lots_.clear();
    for (size_t i = 0; i < in_.size.size(); ++i) {
        int copies = std::min(limit[i], in_.capacity / in_.size[i]);
        if (value[i] <= Tolerance)
            continue;
        for (int k = 1; copies > 0; k *= 2) {
            const int take = std::min(k, copies);
            lots_.push_back({i, take});
            copies -= take;
        }
    }
    // One bit per lot and millimetre: up to a few tens of megabytes. Beyond
    // that a pass would take seconds anyway, so such a problem goes unpriced.
    const size_t bits = std::max<size_t>(lots_.size(), 1) * width;
    if (bits > MostBits)
        return false;
    table_.assign((bits + 63) / 64, 0);
    best_.assign(width, 0.0);
    long long steps = 0;
    for (size_t l = 0; l < lots_.size(); ++l) {
        steps += static_cast<long long>(width);
        if (steps > StepsBetweenChecks) {
            steps = 0;
            if (stop.Now())
                return false;
        }
        const auto [i, k] = lots_[l];
        const size_t w = static_cast<size_t>(in_.size[i]) * static_cast<size_t>(k);
        const double v = value[i] * k;
        const size_t row = l * width;
        for (size_t c = width; c-- > w;) {
            if (best_[c - w] + v > best_[c] + Tolerance) {
                best_[c] = best_[c - w] + v;
                table_[(row + c) / 64] |= std::uint64_t{1} << ((row + c) % 64);
            }
        }
    }
    return true;
}

double Pricing::best(int capacity, Bar& bar) const {
    const size_t width = static_cast<size_t>(in_.capacity) + 1;
    bar.assign(in_.size.size(), 0);
    size_t c = static_cast<size_t>(capacity);
    const double result = best_[c];
    for (size_t l = lots_.size(); l-- > 0;) {
        const size_t at = l * width + c;
        if ((table_[at / 64] >> (at % 64)) & 1u) {
            bar[lots_[l].first] += lots_[l].second;
            c -= static_cast<size_t>(in_.size[lots_[l].first]) *
                 static_cast<size_t>(lots_[l].second);
        }
    }
    return result;
}

} // namespace cutting::detail
