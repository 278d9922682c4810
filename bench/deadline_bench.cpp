// Plans hard orders against their time limits and prints the wall time of
// each plan and the worst overrun beyond its limit, and how soon a plan
// returns once cancelled. Usage: optimize_deadline_bench [limit, s = 2]

#include "optimize/cutting.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// `pieces` pieces of distinct lengths in [lo, hi].
std::vector<cutting::CutItem> Distinct(int pieces, int lo, int hi, unsigned seed) {
    std::mt19937 rng(seed);
    std::set<int> used;
    std::vector<cutting::CutItem> items;
    while (static_cast<int>(items.size()) < pieces) {
        const int length = std::uniform_int_distribution<int>(lo, hi)(rng);
        if (used.insert(length).second)
            items.push_back(
                {static_cast<int>(items.size()) + 1, cutting::PieceKind::Vertical, length, 1});
    }
    return items;
}

// Triplets on a long bar: three pieces fill each bar exactly.
std::vector<cutting::CutItem> LongTriplets(int bars, int stock, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<cutting::CutItem> items;
    for (int b = 0; b < bars; ++b) {
        const int first =
            std::uniform_int_distribution<int>(stock * 38 / 100, stock * 49 / 100)(rng);
        const int second = std::uniform_int_distribution<int>(stock / 4, (stock - first) / 2)(rng);
        for (int length : {first, second, stock - first - second})
            items.push_back({b + 1, cutting::PieceKind::Vertical, length, 1});
    }
    return items;
}

struct Case {
    const char* name;
    std::vector<cutting::CutItem> items;
    cutting::Settings settings;
};

cutting::Settings Single(int stock, int kerf = 3) {
    cutting::Settings s;
    s.stock = stock;
    s.kerf = kerf;
    return s;
}

cutting::Settings Mixed(unsigned seed) {
    cutting::Settings s;
    s.kerf = 3;
    s.stocks = {{100000, cutting::Unlimited}, {80000, cutting::Unlimited}, {50000, 40}};
    std::mt19937 rng(seed);
    for (int r = 0; r < 500; ++r)
        s.offcuts.push_back({std::uniform_int_distribution<int>(1000, 60000)(rng), 1});
    return s;
}

} // namespace

int main(int argc, char** argv) {
    const double limit = argc > 1 ? std::atof(argv[1]) : 2.0;
    const std::vector<Case> cases = {
        {"1000 distinct, stock 65088", Distinct(1000, 500, 30000, 1), Single(65088)},
        {"500 distinct, stock 80000", Distinct(500, 1000, 40000, 2), Single(80000)},
        {"1000 distinct, 3-6 a bar, stock 80000", Distinct(1000, 2000, 26000, 3), Single(80000)},
        {"999 triplets, stock 80000, no kerf", LongTriplets(333, 80000, 4), Single(80000, 0)},
        {"10000 distinct 1..100000, stock 100000", Distinct(10000, 1, 100000, 5), Single(100000)},
        {"10000 distinct 100..10100, stock 100000", Distinct(10000, 100, 10100, 6), Single(100000)},
        {"10000 distinct 20000..50000, stock 100000", Distinct(10000, 20000, 50000, 7),
         Single(100000)},
        {"10000 distinct, three stocks, 500 offcuts", Distinct(10000, 100, 50000, 8), Mixed(9)},
    };
    std::printf("%-44s %8s %8s %8s %9s %9s\n", "order", "bars", "bound", "proven", "time, s",
                "cancel, s");
    double worst = 0.0, worstCancel = 0.0;
    for (const Case& c : cases) {
        cutting::Settings s = c.settings;
        s.timeLimit = limit;
        const auto start = Clock::now();
        const cutting::Result r = cutting::PlanCutting(c.items, s);
        const double seconds = Since(start);
        worst = std::max(worst, seconds - limit);
        // The same plan cancelled from another thread after a fifth of its time.
        std::atomic<bool> cancel{false};
        cutting::Control control;
        control.cancel = &cancel;
        Clock::time_point asked;
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::duration<double>(limit / 5));
            asked = Clock::now();
            cancel = true;
        });
        const cutting::Result cancelled = cutting::PlanCutting(c.items, s, control);
        const auto returned = Clock::now();
        stopper.join();
        // A plan that ended before the request has nothing to be late for.
        const double late =
            returned > asked ? std::chrono::duration<double>(returned - asked).count() : 0.0;
        worstCancel = std::max(worstCancel, late);
        std::printf("%-44s %8d %8d %8s %9.3f %9.3f%s\n", c.name, r.plan.bars, r.plan.lowerBound,
                    r.plan.optimal ? "yes" : "no", seconds, late,
                    r.ok && cancelled.ok ? "" : "  REFUSED");
    }
    std::printf("limit %.2f s: worst overrun %.3f s, worst return after cancel %.3f s\n", limit,
                worst, worstCancel);
    return 0;
}
