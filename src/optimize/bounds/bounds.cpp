#include "bounds.h"

#include "optimize/instance/instance.h"

#include <algorithm>

namespace cutting::detail {

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

} // namespace cutting::detail
