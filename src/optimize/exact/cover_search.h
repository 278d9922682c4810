#pragma once

// The exact cover of nearly full bars, for a packing into exactly a given
// number of bars.

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <memory>

namespace cutting::detail {

// Looks for a packing into exactly `bars` bars when the pieces fill them
// nearly to the end (the free length of all of them together is less than
// one bar): an exact cover by the bars that leave no more free length than
// that. Returns an empty packing when none exists or it was stopped first or
// too many such bars exist; `exhausted` is true only when the search proved
// that no packing into exactly `bars` bars exists, or found one. Passed the
// lower bound, a proof raises it.
Packing CoverPacking(const Instance& in, int bars, const Stop& stop, bool& exhausted);

// The search of CoverPacking, kept so that a run its stop ended can be taken
// up later: it goes on with the step it was stopped in rather than from the
// start. `in` must outlive it.
class CoverSearch {
public:
    CoverSearch(const Instance& in, int bars);
    ~CoverSearch();
    CoverSearch(const CoverSearch&) = delete;
    CoverSearch& operator=(const CoverSearch&) = delete;

    // As CoverPacking. After a run that found a packing, ruled every one out
    // or gave up, another run returns nothing.
    Packing Run(const Stop& stop, bool& exhausted);
    // Whether the last run ended on its stop, and another may go on.
    bool Stopped() const { return stopped_; }
    int Bars() const { return bars_; }

private:
    struct State;
    Packing Go(const Stop& stop, bool& exhausted);

    const Instance& in_;
    int bars_;
    bool stopped_ = false;
    bool settled_ = false;
    std::unique_ptr<State> state_; // a search left to take up
};

} // namespace cutting::detail
