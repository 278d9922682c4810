// Plans generated instances of the classic bin packing classes and prints per
// class how many reach the known optimum, how many are proven optimal, and
// the mean and worst time.
// Usage: optimize_classes_bench CLASS|all [instances = 20] [seed = 1] [-v]

#include "classes.h"
#include "plan_pieces.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Figures {
    int instances = 0, known = 0, optimal = 0, proven = 0;
    double total = 0.0, worst = 0.0;
};

Figures Run(const std::string& name, bench::Maker make, int count, unsigned seed, bool verbose) {
    std::mt19937 rng(seed);
    Figures f;
    for (int k = 0; k < count; ++k) {
        const bench::ClassInstance c = make(k, rng);
        const auto [r, seconds] = bench::PlanPieces(c.pieces, c.capacity, 2.0);
        ++f.instances;
        f.total += seconds;
        f.worst = std::max(f.worst, seconds);
        if (c.optimum > 0) {
            ++f.known;
            if (r.ok && r.plan.bars == c.optimum)
                ++f.optimal;
        }
        if (r.ok && r.plan.optimal)
            ++f.proven;
        if (verbose)
            std::printf("  %s #%d: %zu pieces on %d, bars %d, bound %d, optimum %d, %.3f s\n",
                        name.c_str(), k, c.pieces.size(), c.capacity, r.plan.bars,
                        r.plan.lowerBound, c.optimum, seconds);
    }
    return f;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CLASS|all [instances] [seed] [-v]\nclasses:", argv[0]);
        for (const auto& [name, make] : bench::Classes())
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::string which = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 20;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u;
    const bool verbose = argc > 4 && std::strcmp(argv[4], "-v") == 0;
    std::printf("%-10s %10s %10s %10s %10s %10s\n", "class", "instances", "optimal", "proven",
                "mean, s", "worst, s");
    bool found = false;
    for (const auto& [name, make] : bench::Classes()) {
        if (which != "all" && which != name)
            continue;
        found = true;
        const Figures f = Run(name, make, count, seed, verbose);
        const std::string optimal =
            f.known > 0 ? std::to_string(f.optimal) + "/" + std::to_string(f.known) : "-";
        std::printf("%-10s %10d %10s %10d %10.3f %10.3f\n", name.c_str(), f.instances,
                    optimal.c_str(), f.proven, f.total / f.instances, f.worst);
        std::fflush(stdout);
    }
    if (!found) {
        std::fprintf(stderr, "unknown class %s\n", which.c_str());
        return 2;
    }
    return 0;
}
