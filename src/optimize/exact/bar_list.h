#pragma once

// What the search for a packing of nearly full bars (CoverPacking in
// cover_search.h) is built on: the list of the bars that fill a bar closely
// enough, and the linear relaxation of covering the pieces with them.

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"

#include <vector>

struct glp_prob;

namespace cutting::detail {

// Every bar of a given number of pieces that leaves no more free length than
// `slack`, as lists of (size, count).
class BarList {
public:
    struct Item {
        int type;
        int count;
    };

    size_t Size() const { return start_.size() - 1; }
    const Item* Begin(size_t b) const { return items_.data() + start_[b]; }
    const Item* End(size_t b) const { return items_.data() + start_[b + 1]; }
    int Pieces(size_t b) const { return pieces_[b]; }
    long long Waste(size_t b) const { return waste_[b]; }

    // Lists the bars of exactly `pieces` pieces; false, and the list as it
    // was, when there would be more than `most` bars on it or listing them
    // takes more than the `steps` left, which it counts down.
    bool AddLevel(const Instance& in, long long slack, int pieces, size_t most, long long& steps);
    // Appends one bar, its sizes in order, that leaves `waste` free.
    void Append(const std::vector<Item>& items, long long waste);

private:
    bool Enumerate(size_t from, long long room, int left);

    std::vector<Item> items_;
    std::vector<size_t> start_{0};
    std::vector<int> pieces_;
    std::vector<long long> waste_;
    const Instance* in_ = nullptr;
    long long slack_ = 0;
    size_t most_ = 0;
    long long steps_ = 0;
    std::vector<int> take_;    // pieces of each size on the bar being listed
    std::vector<size_t> path_; // its sizes in the order taken
};

// Whether the pieces still needed can be covered exactly by a fractional
// packing of the listed bars still possible. A GLPK problem of its own.
class CoverLp {
public:
    CoverLp(const BarList& list, size_t types);
    ~CoverLp();
    CoverLp(const CoverLp&) = delete;
    CoverLp& operator=(const CoverLp&) = delete;

    // False only when the relaxation has no solution; true also when it was
    // stopped first or GLPK failed (then it is not asked again). `level`
    // receives the level of each bar in the solution found, zeros without.
    bool MayCover(const std::vector<int>& rem, const std::vector<int>& blocked, const Stop& stop,
                  std::vector<double>& level);

private:
    const BarList& list_;
    size_t types_;
    GlpkShare share_;
    glp_prob* lp_ = nullptr; // null once GLPK failed
};

} // namespace cutting::detail
