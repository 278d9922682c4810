// Plans random workshop orders on 6000 and 11750 mm bars with a few random
// offcuts on hand, and prints the share proven optimal, the length bought
// above the bound and the times; given a file, also the bought length and its
// bound of each order there, one order a line, to compare two builds plan by
// plan. Usage: optimize_mixed_bench [orders] [seed] [file]

#include "instances.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    const int orders = argc > 1 ? std::atoi(argv[1]) : 1000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    std::mt19937 rng(seed);
    std::ofstream plans;
    if (argc > 3 && argv[3][0] != '\0')
        plans.open(argv[3]);
    const double limit = argc > 4 ? std::atof(argv[4]) : 2.0;
    std::vector<double> times;
    int proven = 0, refused = 0, usedOffcuts = 0;
    long long bought = 0, above = 0, worstAbove = 0;
    for (int k = 0; k < orders; ++k) {
        const model::Order order = bench::WorkshopOrder(rng);
        const auto items = cutting::OrderCutList(order);
        cutting::Settings s;
        s.kerf = 3;
        s.timeLimit = limit;
        s.stocks = {{11750, cutting::Unlimited}, {6000, cutting::Unlimited}};
        for (int r = std::uniform_int_distribution<int>(0, 6)(rng); r > 0; --r)
            s.offcuts.push_back({std::uniform_int_distribution<int>(300, 5000)(rng),
                                 std::uniform_int_distribution<int>(1, 3)(rng)});
        const auto start = std::chrono::steady_clock::now();
        const cutting::Result r = cutting::PlanCutting(items, s);
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!r.ok) {
            ++refused;
            if (plans)
                plans << "refused\n";
            continue;
        }
        if (plans)
            plans << r.plan.boughtLength << ' ' << r.plan.lowerBoundLength << '\n' << std::flush;
        proven += r.plan.optimal ? 1 : 0;
        usedOffcuts += r.plan.offcutsUsed;
        bought += r.plan.boughtLength;
        const long long gap = r.plan.boughtLength - r.plan.lowerBoundLength;
        above += gap;
        worstAbove = std::max(worstAbove, gap);
    }
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? 0.0 : times[times.size() / 2];
    const double worst = times.empty() ? 0.0 : times.back();
    std::printf("orders              %d (refused %d)\n", orders, refused);
    std::printf("bought, offcuts cut %lld mm, %d\n", bought, usedOffcuts);
    std::printf("proven optimal      %d (%.1f %%)\n", proven,
                orders > 0 ? 100.0 * proven / orders : 0.0);
    std::printf("bought above bound  %lld mm in all, at most %lld mm in one order\n", above,
                worstAbove);
    std::printf("time, median        %.4f s\n", median);
    std::printf("time, worst         %.4f s\n", worst);
    return 0;
}
