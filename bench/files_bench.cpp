// Plans instances read from files, as published for the classic bin packing
// classes, and prints per file the bars, the proven bound, a fingerprint of
// the plan bar for bar (two runs that print the same one cut alike) and the
// time, and in the end how many were proven optimal.
// Usage: optimize_files_bench [-t LIMIT] FILE...
// Each file holds whitespace-separated integers: the bar's capacity, the
// number of pieces, then the length of each piece.

#include "plan_pieces.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Instance {
    int capacity = 0;
    std::vector<int> pieces;
};

bool Read(const char* path, Instance& in) {
    std::ifstream file(path);
    long long capacity = 0, count = 0;
    if (!(file >> capacity >> count) || capacity <= 0 || count <= 0)
        return false;
    in.capacity = static_cast<int>(capacity);
    for (long long k = 0; k < count; ++k) {
        long long size = 0;
        if (!(file >> size) || size <= 0 || size > capacity)
            return false;
        in.pieces.push_back(static_cast<int>(size));
    }
    return true;
}

// FNV-1a over every piece of every bar, in the plan's order.
unsigned long long Fingerprint(const cutting::Plan& plan) {
    unsigned long long hash = 14695981039346656037ull;
    auto mix = [&hash](long long value) {
        hash = (hash ^ static_cast<unsigned long long>(value)) * 1099511628211ull;
    };
    for (const cutting::Pattern& pattern : plan.patterns)
        for (const auto& bar : pattern.bars) {
            mix(-1);
            for (const cutting::Piece& piece : bar)
                mix(piece.grille);
        }
    return hash;
}

} // namespace

int main(int argc, char** argv) {
    double limit = 2.0;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-t") == 0) {
        limit = std::atof(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [-t LIMIT] FILE...\n", argv[0]);
        return 2;
    }
    int planned = 0, proven = 0;
    double total = 0.0, worst = 0.0;
    for (int a = first; a < argc; ++a) {
        Instance in;
        if (!Read(argv[a], in)) {
            std::fprintf(stderr, "%s: not an instance\n", argv[a]);
            return 2;
        }
        const auto [r, seconds] = bench::PlanPieces(in.pieces, in.capacity, limit);
        ++planned;
        proven += r.ok && r.plan.optimal ? 1 : 0;
        total += seconds;
        worst = std::max(worst, seconds);
        std::printf("%s: %zu pieces on %d, bars %d, bound %d%s, plan %016llx, %.3f s\n",
                    argv[a], in.pieces.size(), in.capacity, r.plan.bars, r.plan.lowerBound,
                    r.ok && r.plan.optimal ? ", proven" : "", Fingerprint(r.plan), seconds);
        std::fflush(stdout);
    }
    std::printf("%d planned, %d proven optimal, mean %.3f s, worst %.3f s\n", planned, proven,
                total / planned, worst);
    return 0;
}
