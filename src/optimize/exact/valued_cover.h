#pragma once

// A packing into a given number of bars from the pattern relaxation's values:
// in such a packing the bars fall short of the best bar's worth together by
// no more than the number of bars times that worth less the demand's worth,
// so that each of them comes close to the best, and only a few bars come that
// close: reduced-cost fixing, every other bar fixed at 0. An integer program
// over them finds the packing or proves there is none. The values are made
// whole numbers (safe_bound.h), so that the list holds every bar a packing can
// use, exactly, and the integer program is solved by a branch and bound that
// proves what it rules out (cover_proof.h).

#include "bar_list.h"
#include "cover_proof.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <memory>
#include <vector>

namespace cutting::detail {

class ValuedCover {
public:
    // `value`: piece values at which no bar is worth much more than 1 (any
    // values that are not negative will do; these list the fewest bars).
    // `in` must outlive it.
    ValuedCover(const Instance& in, std::vector<double> value, int bars);
    ~ValuedCover();
    ValuedCover(const ValuedCover&) = delete;
    ValuedCover& operator=(const ValuedCover&) = delete;

    // Whether the bars of `in` can be listed at all: the table that guides
    // the listing has an entry for every size and length.
    static bool Fits(const Instance& in);

    // Lists the bars; false when there are too many to search, or the
    // listing was stopped first.
    bool List(const Stop& stop);

    enum class Outcome { Found, None, Open };
    // Searches until found, ruled out or stopped; a later call goes on where
    // this one ended. `packing` receives what was found. None is a proof.
    Outcome Search(const Stop& stop, Packing& packing);

private:
    const Instance& in_;
    std::vector<double> value_;
    int bars_;
    long long free_ = 0; // the length the bars leave free together, at most
    bool none_ = false;  // ruled out before any search
    BarList list_;
    std::unique_ptr<CoverProof> search_;
};

} // namespace cutting::detail
