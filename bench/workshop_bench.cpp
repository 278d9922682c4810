// Plans random workshop orders on 11750 mm stock with a 3 mm saw cut and
// prints the share proven optimal, the bars above the bound and the times.
// With a file name, also writes the bars and bound of each plan there, one
// plan a line, to compare two builds.
// Usage: optimize_workshop_bench [orders] [seed] [file]

#include "instances.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int orders = argc > 1 ? std::atoi(argv[1]) : 1000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    std::mt19937 rng(seed);
    std::FILE* each = argc > 3 ? std::fopen(argv[3], "w") : nullptr;
    cutting::Settings settings;
    settings.stock = 11750;
    settings.kerf = 3;
    settings.timeLimit = 2.0;
    std::vector<double> times;
    int proven = 0, refused = 0;
    long long above = 0, pieces = 0, bars = 0;
    int worstGap = 0;
    for (int k = 0; k < orders; ++k) {
        const model::Order order = bench::WorkshopOrder(rng);
        const auto items = cutting::OrderCutList(order);
        for (const auto& item : items)
            pieces += item.count;
        const auto start = std::chrono::steady_clock::now();
        const cutting::Result r = cutting::PlanCutting(items, settings);
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (each != nullptr)
            std::fprintf(each, "%d %d\n", r.plan.bars, r.plan.lowerBound);
        if (!r.ok) {
            ++refused;
            continue;
        }
        bars += r.plan.bars;
        if (r.plan.optimal)
            ++proven;
        above += r.plan.bars - r.plan.lowerBound;
        worstGap = std::max(worstGap, r.plan.bars - r.plan.lowerBound);
    }
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? 0.0 : times[times.size() / 2];
    const double worst = times.empty() ? 0.0 : times.back();
    std::printf("orders              %d (refused %d)\n", orders, refused);
    std::printf("pieces, bars        %lld, %lld\n", pieces, bars);
    std::printf("proven optimal      %d (%.1f %%)\n", proven,
                orders > 0 ? 100.0 * proven / orders : 0.0);
    std::printf("bars above bound    %lld in all, at most %d in one order\n", above, worstGap);
    std::printf("time, median        %.4f s\n", median);
    std::printf("time, worst         %.4f s\n", worst);
    if (each != nullptr)
        std::fclose(each);
    return 0;
}
