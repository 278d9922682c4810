// Solves triplet instances and prints how many reach the optimum and how long
// they take; with a file name, also writes the bars and bound of each plan
// there, one plan a line, to compare two builds.
// Usage: optimize_triplets_bench [instances per size] [seed] [file]

#include "instances.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int perSize = argc > 1 ? std::atoi(argv[1]) : 20;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    std::mt19937 rng(seed);
    std::FILE* each = argc > 3 ? std::fopen(argv[3], "w") : nullptr;
    cutting::Settings settings;
    settings.stock = 1000;
    settings.kerf = 0;
    settings.timeLimit = 2.0;
    std::printf("%8s %10s %10s %10s %12s %12s\n", "pieces", "instances", "optimal", "proven",
                "mean, s", "worst, s");
    int allOptimal = 0, all = 0;
    for (int pieces : {60, 120, 249, 501}) {
        int optimal = 0, proven = 0;
        double total = 0.0, worst = 0.0;
        for (int k = 0; k < perSize; ++k) {
            const auto items = bench::Triplets(pieces, rng);
            const auto start = std::chrono::steady_clock::now();
            const cutting::Result r = cutting::PlanCutting(items, settings);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            total += seconds;
            worst = std::max(worst, seconds);
            if (each != nullptr)
                std::fprintf(each, "%d %d\n", r.plan.bars, r.plan.lowerBound);
            if (r.ok && r.plan.bars == pieces / 3)
                ++optimal;
            if (r.ok && r.plan.optimal)
                ++proven;
        }
        allOptimal += optimal;
        all += perSize;
        std::printf("%8d %10d %10d %10d %12.4f %12.4f\n", pieces, perSize, optimal, proven,
                    total / perSize, worst);
    }
    std::printf("solved to the optimum: %d of %d\n", allOptimal, all);
    if (each != nullptr)
        std::fclose(each);
    return allOptimal == all ? 0 : 1;
}
