#pragma once

// Generators for the classic one-dimensional bin packing instance classes,
// made the way their authors describe them: each class gives its capacity,
// its pieces and, where the construction fixes it, the optimum.

#include "instances.h"
#include "optimize/bounds/bounds.h"
#include "optimize/heuristics/fits.h"
#include "optimize/instance/instance.h"

#include <map>
#include <string>

namespace bench {

struct ClassInstance {
    int capacity = 0;
    std::vector<int> pieces;
    int optimum = 0; // 0 when the construction does not fix it
};

inline int Uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// First fit decreasing and the L2 bound of the solver itself, for the
// classes that keep only instances on which the two disagree.
inline cutting::detail::Instance Grouped(const ClassInstance& c) {
    std::map<int, int, std::greater<>> count;
    for (int p : c.pieces)
        ++count[p];
    cutting::detail::Instance in;
    in.capacity = c.capacity;
    for (const auto& [size, k] : count) {
        in.size.push_back(size);
        in.demand.push_back(k);
    }
    return in;
}

inline int FirstFitBars(const ClassInstance& c) {
    const auto in = Grouped(c);
    return static_cast<int>(std::min(cutting::detail::FirstFitDecreasing(in).size(),
                                     cutting::detail::BestFitDecreasing(in).size()));
}

// Cuts `fill` into `parts` pieces of `lo`..`hi` at random cut points;
// empty when the draw does not fit those limits.
inline std::vector<int> Split(int fill, int parts, int lo, int hi, std::mt19937& rng) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::vector<int> cuts{0, fill};
        for (int k = 1; k < parts; ++k)
            cuts.push_back(Uniform(rng, 1, fill - 1));
        std::sort(cuts.begin(), cuts.end());
        std::vector<int> out;
        for (size_t k = 1; k < cuts.size(); ++k)
            out.push_back(cuts[k] - cuts[k - 1]);
        if (std::all_of(out.begin(), out.end(), [&](int p) { return p >= lo && p <= hi; }))
            return out;
    }
    return {};
}

// Falkenauer's class T.
inline ClassInstance MakeTriplets(int index, std::mt19937& rng) {
    const int sizes[] = {60, 120, 249, 501};
    const int n = sizes[index % 4];
    ClassInstance c{1000, {}, n / 3};
    for (const auto& item : Triplets(n, rng))
        c.pieces.push_back(item.length);
    return c;
}

// Falkenauer's class U: 120..1000 pieces of 20..100 on 150.
inline ClassInstance MakeUniform(int index, std::mt19937& rng) {
    const int sizes[] = {120, 250, 500, 1000};
    ClassInstance c{150, {}, 0};
    for (int k = 0; k < sizes[index % 4]; ++k)
        c.pieces.push_back(Uniform(rng, 20, 100));
    return c;
}

// Scholl, Klein and Jürgens, set 1: capacity 100, 120 or 150, pieces from
// 1, 20 or 30 up to 100.
inline ClassInstance MakeScholl1(int index, std::mt19937& rng) {
    const int sizes[] = {50, 100, 200, 500}, caps[] = {100, 120, 150}, los[] = {1, 20, 30};
    ClassInstance c{caps[(index / 4) % 3], {}, 0};
    const int lo = los[(index / 12) % 3];
    for (int k = 0; k < sizes[index % 4]; ++k)
        c.pieces.push_back(Uniform(rng, lo, 100));
    return c;
}

// Set 2: capacity 1000, a third to a ninth of it on average, spread by 20, 50
// or 90 %.
inline ClassInstance MakeScholl2(int index, std::mt19937& rng) {
    const int sizes[] = {50, 100, 200, 500}, per[] = {3, 5, 7, 9}, spread[] = {20, 50, 90};
    ClassInstance c{1000, {}, 0};
    const int mean = 1000 / per[(index / 4) % 4];
    const int delta = mean * spread[(index / 16) % 3] / 100;
    for (int k = 0; k < sizes[index % 4]; ++k)
        c.pieces.push_back(Uniform(rng, mean - delta, mean + delta));
    return c;
}

// Set 3, "hard": 200 pieces of 20 000..35 000 on 100 000.
inline ClassInstance MakeScholl3(int, std::mt19937& rng) {
    ClassInstance c{100000, {}, 0};
    for (int k = 0; k < 200; ++k)
        c.pieces.push_back(Uniform(rng, 20000, 35000));
    return c;
}

// Schwerin and Wäscher: 100 or 120 pieces of 150..200 on 1000.
inline ClassInstance MakeSchwerin(int index, std::mt19937& rng) {
    ClassInstance c{1000, {}, 0};
    for (int k = 0, n = index % 2 == 0 ? 100 : 120; k < n; ++k)
        c.pieces.push_back(Uniform(rng, 150, 200));
    return c;
}

// Wäscher and Gau: 57..239 pieces on 10 000, a few dozen distinct lengths
// of up to half the bar, each needed several times.
inline ClassInstance MakeWaescher(int, std::mt19937& rng) {
    ClassInstance c{10000, {}, 0};
    const int n = Uniform(rng, 57, 239);
    std::vector<int> lengths(static_cast<size_t>(Uniform(rng, 10, 30)));
    for (int& l : lengths)
        l = Uniform(rng, 300, 5000);
    for (int k = 0; k < n; ++k)
        c.pieces.push_back(
            lengths[static_cast<size_t>(Uniform(rng, 0, static_cast<int>(lengths.size()) - 1))]);
    return c;
}

// Like Schoenfield's Hard28: 160..200 pieces of 1..800 on 1000, kept only
// when first and best fit decreasing need more bars than the size and L2
// bounds prove.
inline ClassInstance MakeHard28(int, std::mt19937& rng) {
    for (;;) {
        ClassInstance c{1000, {}, 0};
        for (int k = 0, n = Uniform(rng, 160, 200); k < n; ++k)
            c.pieces.push_back(Uniform(rng, 1, 800));
        const auto in = Grouped(c);
        const int bound =
            std::max(cutting::detail::BoundBySize(in), cutting::detail::BoundMartelloToth(in));
        if (FirstFitBars(c) > bound)
            return c;
    }
}

// Like Delorme, Iori and Martello's augmented IRUP class: a perfect packing of
// bars of 2 000..80 000, each cut into three pieces and one into four
// (202..1003 pieces), kept only when first and best fit decreasing need more bars.
inline ClassInstance MakeAugmented(int index, std::mt19937& rng) {
    const int sizes[] = {202, 403, 601, 802, 1003};
    const int bars = sizes[index % 5] / 3;
    for (;;) {
        ClassInstance c{Uniform(rng, 2000, 80000), {}, bars};
        const int lo = c.capacity / 10, hi = c.capacity / 2;
        for (int b = 0; b < bars; ++b) {
            auto parts = Split(c.capacity, b == 0 ? 4 : 3, b == 0 ? 1 : lo, hi, rng);
            if (parts.empty()) {
                --b;
                continue;
            }
            c.pieces.insert(c.pieces.end(), parts.begin(), parts.end());
        }
        std::shuffle(c.pieces.begin(), c.pieces.end(), rng);
        if (FirstFitBars(c) > c.optimum)
            return c;
    }
}

// Random instances on 1000 kept only when first fit decreasing needs more
// bars than the L2 bound proves.
inline ClassInstance MakeHard(int, std::mt19937& rng) {
    for (;;) {
        ClassInstance c{1000, {}, 0};
        const int n = Uniform(rng, 100, 300), lo = Uniform(rng, 1, 200),
                  hi = Uniform(rng, 400, 800);
        for (int k = 0; k < n; ++k)
            c.pieces.push_back(Uniform(rng, lo, hi));
        if (FirstFitBars(c) > cutting::detail::BoundMartelloToth(Grouped(c)))
            return c;
    }
}

using Maker = ClassInstance (*)(int, std::mt19937&);

inline const std::vector<std::pair<std::string, Maker>>& Classes() {
    static const std::vector<std::pair<std::string, Maker>> all = {
        {"triplets", MakeTriplets}, {"uniform", MakeUniform}, {"scholl1", MakeScholl1},
        {"scholl2", MakeScholl2},   {"scholl3", MakeScholl3}, {"schwerin", MakeSchwerin},
        {"waescher", MakeWaescher}, {"hard28", MakeHard28},   {"ai", MakeAugmented},
        {"hard", MakeHard},
    };
    return all;
}

} // namespace bench
