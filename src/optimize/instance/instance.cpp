#include "instance.h"

#include <algorithm>
#include <numeric>

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

long long Luby(int i) {
    for (int k = 1;; ++k) {
        const int whole = (1 << k) - 1;
        if (i == whole)
            return 1LL << (k - 1);
        if (i < whole)
            return Luby(i - (1 << (k - 1)) + 1);
    }
}

} // namespace cutting::detail
