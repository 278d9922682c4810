#pragma once

// What the two solvers behind PlanCutting (single.h, mixed.h) hand back,
// and the problem of several kinds of bar.

#include "optimize/instance/instance.h"

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

struct MixedProblem {
    Instance in;             // capacity: the largest of the kinds
    std::vector<Kind> kinds; // offcuts on hand (cost 0) first, then stock lengths (cost: length)
    int kerf = 0;
    int minUseful = 0;
};
} // namespace cutting::detail
