#pragma once

// The phases of a plan, in the order they run, with their shares of the time
// limit and their tuning, in one place: a test or a benchmark can switch
// phases off to see what one of them finds or proves alone, or give it
// another share. The defaults were found by trial on the classic instance
// classes and on workshop orders (bench/README.md).
//
// Shares are of the limit's worth of work (stop.h), counted from the start of
// the plan, so that a plan proven within them comes out the same, bar for
// bar, on any machine; the limit itself still ends every phase.

#include "stop.h"

namespace cutting {

struct Parameters {
    // One stock length of any number.
    struct Single {
        // The bound of bars built around their long pieces (anchored.h).
        bool anchoredBound = true;
        long long anchoredWork = WorkOf(std::chrono::milliseconds(400));
        // The exact cover of nearly full bars, up to this share of the limit.
        bool cover = true;
        double coverShare = 1.0 / 3.0;
        // Fullest fills, when their table (lengths times sizes) is small.
        bool fullestFill = true;
        double fullestFillShare = 0.1;
        long long fullestFillTable = 4000000;
        // The bar-completion search for a packing at the bound.
        bool search = true;
        double searchShare = 0.1;
        // The pattern relaxation and its dives, up to this share.
        bool relaxation = true;
        double relaxationEnd = 2.0 / 3.0;
        // The cover search again, where its share cut it short, with half of
        // what is left; then the bar-completion search to the limit.
        bool coverAgain = true;
        bool lastSearch = true;
    } single;

    // Several kinds of bar: stock lengths with counts, offcuts on hand.
    struct Mixed {
        // The offcuts on hand filled first, whatever the limit.
        long long leastHandWork = WorkOf(std::chrono::milliseconds(50));
        // Fullest fills of each stock length, up to this share.
        double fullestFillShare = 0.1;
        // The complete search for a first plan when the fills find none.
        long long firstPlanWork = WorkOf(std::chrono::seconds(60));
        // The relaxation over the kinds and its rounding, up to this share.
        bool relaxation = true;
        double relaxationShare = 0.75;
    } mixed;
};

} // namespace cutting
