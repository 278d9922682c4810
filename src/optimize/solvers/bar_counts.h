#pragma once

// Plans on several kinds of bar with the number of bars of each kind given,
// found or ruled out by the solver for one stock length: a bar of a shorter
// kind is a bar of the longest holding a stand-in piece as long as the
// difference. Any packing of the pieces and the stand-ins into as many bars
// as the counts add up to is a plan with those counts or fewer bars (a bar
// holding several stand-ins has no more room than the shortest of their
// kinds), and every plan with those counts is such a packing, so a bound
// above that number of bars rules the counts out.
//
// Only a bought length that some counts add up to can be paid, so a length
// is ruled out once all of its counts are: the bound on the bought length
// rises to the next sum of stock bars.

#include "mixed_bars.h"
#include "solution.h"

#include "optimize/instance/parameters.h"
#include "optimize/instance/stop.h"

#include <vector>

namespace cutting::detail {

// The numbers of bars of each kind whose costs add up to exactly `sum`: the
// stock lengths within their counts, every offcut on hand at its count
// (they cost nothing, and a plan need not use them all). `complete` is
// false when there are more than `most` of them; only those are listed.
struct CountsOfSum {
    std::vector<std::vector<int>> counts;
    bool complete = true;
};
CountsOfSum CountsAddingUpTo(const MixedProblem& p, long long sum, size_t most);

// The plan the solver for one length finds with the bars of `counts`, and
// whether it proves there is none within them. The plan may take more bars
// of the longest kind than `counts`: when it needs more bars than they add
// up to, or when stand-ins share a bar.
struct ByCounts {
    Assigned bars;
    bool ruledOut = false;
};
ByCounts PlanWithCounts(const MixedProblem& p, const std::vector<int>& counts, double timeLimit,
                        const Stop& stop, const Parameters& parameters);

} // namespace cutting::detail
