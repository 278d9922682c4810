#pragma once

// A packing into a given number of bars from the pattern relaxation's values:
// in such a packing the bars fall short of worth 1 together by no more than
// the number of bars less the demand's worth, so that each of them comes
// close to 1, and only a few bars come that close. An integer program over
// them finds the packing or proves there is none.

#include "cover.h"
#include "packing.h"

#include <vector>

namespace cutting::detail {

class ValuedCover {
public:
    // `value`: piece values at which no bar is worth more than 1. `in` must
    // outlive it.
    ValuedCover(const Instance& in, std::vector<double> value, int bars);

    // Whether the bars of `in` can be listed at all: the table that guides
    // the listing has an entry for every size and length.
    static bool Fits(const Instance& in);

    // Lists the bars; false when there are too many to search, or the
    // listing was stopped first.
    bool List(const Stop& stop);

    enum class Outcome { Found, None, Open };
    // Searches until found, ruled out or stopped; a later call goes on where
    // this one ended. `packing` receives what was found.
    Outcome Search(const Stop& stop, Packing& packing);

private:
    // One run of the branch and cut; false when GLPK failed.
    bool Run(int rule, const Stop& stop, Packing& packing, Outcome& outcome);

    const Instance& in_;
    std::vector<double> value_;
    int bars_;
    double slack_ = 0.0; // what the bars fall short of 1 by together, at most
    long long free_ = 0; // the length they leave free together, at most
    bool none_ = false;  // ruled out before any listing
    BarList list_;
    int round_ = 0;
};

} // namespace cutting::detail
