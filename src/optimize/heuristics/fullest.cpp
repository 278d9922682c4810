#include "fullest.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace cutting::detail {

bool FullestBar::Find(const Instance& in, const std::vector<int>& rem, int capacity,
                      const std::vector<size_t>& order, const Stop& stop, Bar& bar) {
    const size_t width = static_cast<size_t>(capacity) + 1;
    reach_.assign(width, 0);
    reach_[0] = 1;
    via_.assign(width, 0);
    copies_.assign(width, 0);
    for (size_t j : order) {
        if (rem[j] == 0 || in.size[j] > capacity)
            continue;
        // A long bar over thousands of sizes takes long: look at the clock
        // every few million steps.
        steps_ += static_cast<long long>(width);
        stop.Spend(static_cast<long long>(width) * 7 / 10);
        if (steps_ > StepsBetweenChecks) {
            steps_ = 0;
            if (stop.Now())
                return false;
        }
        const size_t w = static_cast<size_t>(in.size[j]);
        const auto tag = static_cast<std::uint32_t>(j);
        for (size_t c = w; c < width; ++c) {
            if (reach_[c] || !reach_[c - w])
                continue;
            const int held = via_[c - w] == tag ? copies_[c - w] : 0;
            if (held < rem[j]) {
                reach_[c] = 1;
                via_[c] = tag;
                copies_[c] = held + 1;
            }
        }
    }
    size_t c = width - 1;
    while (!reach_[c])
        --c;
    while (c > 0) {
        bar[via_[c]] += copies_[c];
        c -= static_cast<size_t>(copies_[c]) * static_cast<size_t>(in.size[via_[c]]);
    }
    return true;
}

Packing FullestFill(const Instance& in, int rounds, unsigned seed, const Stop& stop) {
    const size_t m = in.size.size();
    std::mt19937 rng(seed);
    Packing best;
    std::vector<size_t> order(m);
    std::iota(order.begin(), order.end(), size_t{0});
    FullestBar fullest;
    for (int round = 0; round < rounds && !stop.Now(); ++round) {
        std::vector<int> rem = in.demand;
        Packing bars;
        for (size_t first = 0; first < m;) {
            if (rem[first] == 0) {
                ++first;
                continue;
            }
            // Each bar is built around the longest piece left; the order of
            // the sizes decides which of several equally full bars is found.
            Bar bar(m, 0);
            bar[first] = 1;
            --rem[first];
            if (round > 0)
                std::shuffle(order.begin(), order.end(), rng);
            Bar rest(m, 0);
            if (!fullest.Find(in, rem, in.capacity - in.size[first], order, stop, rest))
                return best;
            for (size_t j = 0; j < m; ++j) {
                bar[j] += rest[j];
                rem[j] -= rest[j];
            }
            bars.push_back(std::move(bar));
            if (!best.empty() && bars.size() >= best.size())
                break;
        }
        const bool complete = std::all_of(rem.begin(), rem.end(), [](int r) { return r == 0; });
        if (complete && (best.empty() || bars.size() < best.size()))
            best = std::move(bars);
    }
    return best;
}

} // namespace cutting::detail
