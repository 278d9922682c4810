#include "packing.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>

namespace cutting::detail {

long long Instance::TotalSize() const {
    long long total = 0;
    for (int i = 0; i < Types(); ++i)
        total +=
            static_cast<long long>(size[static_cast<size_t>(i)]) * demand[static_cast<size_t>(i)];
    return total;
}

int Instance::Pieces() const {
    return std::accumulate(demand.begin(), demand.end(), 0);
}

Remainder RemainderOf(const Instance& in, const std::vector<int>& left) {
    Remainder r;
    r.in.capacity = in.capacity;
    for (size_t i = 0; i < left.size(); ++i)
        if (left[i] > 0) {
            r.in.size.push_back(in.size[i]);
            r.in.demand.push_back(left[i]);
            r.type.push_back(i);
        }
    return r;
}

long long BarFill(const Instance& in, const Bar& bar) {
    long long fill = 0;
    for (size_t i = 0; i < bar.size(); ++i)
        fill += static_cast<long long>(in.size[i]) * bar[i];
    return fill;
}

bool IsValidPacking(const Instance& in, const Packing& packing) {
    std::vector<int> used(in.size.size(), 0);
    for (const Bar& bar : packing) {
        if (bar.size() != in.size.size() || BarFill(in, bar) > in.capacity)
            return false;
        for (size_t i = 0; i < bar.size(); ++i)
            used[i] += bar[i];
    }
    return used == in.demand;
}

int BoundBySize(const Instance& in) {
    const long long total = in.TotalSize();
    return static_cast<int>((total + in.capacity - 1) / in.capacity);
}

int BoundMartelloToth(const Instance& in) {
    // For a threshold k, pieces longer than C - k share a bar with no piece of
    // at least k; pieces longer than C / 2 need a bar each, and the pieces of
    // at least k up to C / 2 can only use what those bars leave free, or new
    // bars. Sums over the sizes, longest first, make each threshold cheap even
    // for thousands of sizes.
    const long long c = in.capacity;
    const size_t m = in.size.size();
    std::vector<long long> count(m + 1, 0), length(m + 1, 0);
    for (size_t i = 0; i < m; ++i) {
        count[i + 1] = count[i] + in.demand[i];
        length[i + 1] = length[i] + static_cast<long long>(in.size[i]) * in.demand[i];
    }
    // Index of the first size not longer than `x`.
    auto firstAtMost = [&](long long x) {
        return static_cast<size_t>(
            std::partition_point(in.size.begin(), in.size.end(), [x](int s) { return s > x; }) -
            in.size.begin());
    };
    const size_t half = firstAtMost(c / 2); // sizes from here on are at most C / 2
    int best = 0;
    for (size_t t = half; t <= m; ++t) {
        const long long k = t == m ? 0 : in.size[t];
        const size_t big = std::min(firstAtMost(c - k), half);
        const size_t smallEnd = k == 0 ? m : t + 1; // sizes of at least k
        const long long n1 = count[big];
        const long long n2 = count[half] - count[big];
        const long long s2 = length[half] - length[big];
        const long long s3 = length[smallEnd] - length[half];
        const long long free = n2 * c - s2;
        const long long extra = s3 > free ? (s3 - free + c - 1) / c : 0;
        best = std::max(best, static_cast<int>(n1 + n2 + extra));
    }
    return best;
}

SparseBar Sparse(const Bar& bar) {
    SparseBar sparse;
    for (size_t i = 0; i < bar.size(); ++i)
        if (bar[i] > 0)
            sparse.push_back({static_cast<int>(i), bar[i]});
    return sparse;
}

SparsePacking Sparse(const Packing& packing) {
    SparsePacking sparse;
    sparse.reserve(packing.size());
    for (const Bar& bar : packing)
        sparse.push_back(Sparse(bar));
    return sparse;
}

Packing Dense(const SparsePacking& packing, size_t types) {
    Packing dense;
    dense.reserve(packing.size());
    for (const SparseBar& bar : packing) {
        Bar& full = dense.emplace_back(types, 0);
        for (const auto& [type, count] : bar)
            full[static_cast<size_t>(type)] = count;
    }
    return dense;
}

bool IsValidPacking(const Instance& in, const SparsePacking& packing) {
    std::vector<int> used(in.size.size(), 0);
    for (const SparseBar& bar : packing) {
        long long fill = 0;
        for (const auto& [type, count] : bar) {
            if (type < 0 || static_cast<size_t>(type) >= used.size() || count <= 0)
                return false;
            fill += static_cast<long long>(in.size[static_cast<size_t>(type)]) * count;
            used[static_cast<size_t>(type)] += count;
        }
        if (fill > in.capacity)
            return false;
    }
    return used == in.demand;
}

namespace {

// Adds a piece of size `i` to a sparse bar, whose sizes come in order.
void AddPiece(SparseBar& bar, size_t i) {
    if (!bar.empty() && bar.back().first == static_cast<int>(i))
        ++bar.back().second;
    else
        bar.push_back({static_cast<int>(i), 1});
}

} // namespace

SparsePacking FirstFitSparse(const Instance& in) {
    // The first bar with room for a piece, found in a tree of the most room
    // left in each half, quarter, ... of the bars: a piece costs the log of
    // the bars, not all of them.
    SparsePacking bars;
    size_t leaves = 1;
    while (leaves < static_cast<size_t>(std::max(in.Pieces(), 1)))
        leaves *= 2;
    std::vector<int> most(2 * leaves, -1); // room of bars not yet open: -1
    for (size_t i = 0; i < in.size.size(); ++i)
        for (int copy = 0; copy < in.demand[i]; ++copy) {
            size_t node = 1;
            if (most[1] < in.size[i]) {
                node = leaves + bars.size(); // a new bar
                bars.emplace_back();
                most[node] = in.capacity;
            } else {
                while (node < leaves)
                    node = most[2 * node] >= in.size[i] ? 2 * node : 2 * node + 1;
            }
            AddPiece(bars[node - leaves], i);
            most[node] -= in.size[i];
            for (node /= 2; node > 0; node /= 2)
                most[node] = std::max(most[2 * node], most[2 * node + 1]);
        }
    return bars;
}

SparsePacking BestFitSparse(const Instance& in) {
    SparsePacking bars;
    std::multiset<std::pair<int, size_t>> free; // (room left, bar)
    for (size_t i = 0; i < in.size.size(); ++i) {
        for (int copy = 0; copy < in.demand[i]; ++copy) {
            auto it = free.lower_bound({in.size[i], 0});
            size_t bar;
            int room;
            if (it == free.end()) {
                bar = bars.size();
                bars.emplace_back();
                room = in.capacity;
            } else {
                bar = it->second;
                room = it->first;
                free.erase(it);
            }
            AddPiece(bars[bar], i);
            free.emplace(room - in.size[i], bar);
        }
    }
    return bars;
}

Packing FirstFitDecreasing(const Instance& in) {
    return Dense(FirstFitSparse(in), in.size.size());
}

Packing BestFitDecreasing(const Instance& in) {
    return Dense(BestFitSparse(in), in.size.size());
}

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
