#pragma once

// The two solvers behind PlanCutting: one stock length of any number, and
// several kinds of bar (stock lengths with counts, offcuts on hand).

#include "cutting.h"
#include "packing.h"

namespace cutting::detail {

// Tells the caller's progress callback about improvements.
class Reporter {
public:
    Reporter(const Control& control, Clock::time_point start) : control_(control), start_(start) {}
    // The best plan so far buys `bars` bars of `length` together; no plan
    // buys fewer than `lowerBound` bars or less than `lowerBoundLength`.
    void operator()(int bars, long long length, int lowerBound, long long lowerBoundLength);

private:
    const Control& control_;
    Clock::time_point start_;
    Progress last_;
    bool told_ = false;
};

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
                     Reporter& report);

struct MixedProblem {
    Instance in;             // capacity: the largest of the kinds
    std::vector<Kind> kinds; // offcuts on hand (cost 0) first, then stock lengths (cost: length)
    int kerf = 0;
    int minUseful = 0;
};
// Gives each bar the cheapest kind that holds it and is still to be had
// (`counts`, -1 for any number), fullest bars first (they have the fewest
// kinds to choose from); empty when some bar gets none.
std::vector<PlannedBar> AssignCheapest(const MixedProblem& problem, SparsePacking bars,
                                       std::vector<int> counts);

Solution SolveMixed(const MixedProblem& problem, double timeLimit, const Stop& stop,
                    Reporter& report);

} // namespace cutting::detail
