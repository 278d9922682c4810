#pragma once

// The two solvers behind PlanCutting: one stock length of any number, and
// several kinds of bar (stock lengths with counts, offcuts on hand).

#include "packing.h"
#include "parameters.h"

#include <functional>

namespace cutting::detail {

// Told whenever the best plan or the bound improves: the best plan so far
// buys `bars` bars of `length` together; no plan buys fewer than
// `lowerBound` bars or less than `lowerBoundLength`.
using Report =
    std::function<void(int bars, long long length, int lowerBound, long long lowerBoundLength)>;

// A bar of the plan: its kind and what it holds.
struct PlannedBar {
    int kind = 0;
    SparseBar content;
};

struct Solution {
    std::vector<PlannedBar> bars; // none when the order cannot be cut, or
    bool undecided = false;       // when stopped before a plan or a proof

    int lowerBound = 0;             // bars to buy
    long long lowerBoundLength = 0; // length to buy
};

// One stock length: every bar costs the same, bars are counted.
Solution SolveSingle(const Instance& in, long long stock, double timeLimit, const Stop& stop,
                     const Report& report, const Parameters::Single& parameters = {});

struct MixedProblem {
    Instance in;             // capacity: the largest of the kinds
    std::vector<Kind> kinds; // offcuts on hand (cost 0) first, then stock lengths (cost: length)
    int kerf = 0;
    int minUseful = 0;
};
Solution SolveMixed(const MixedProblem& problem, double timeLimit, const Stop& stop,
                    const Report& report, const Parameters::Mixed& parameters = {});

} // namespace cutting::detail
