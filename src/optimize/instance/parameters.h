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

#include <cstddef>

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
        // The pattern relaxation and its dives, up to this share. Counted in
        // work, the relaxation of long bars over many sizes needs more of it
        // than it did of the clock: with two thirds, the relaxation of the
        // published Scholl HARD0 no longer reached its bound.
        bool relaxation = true;
        double relaxationEnd = 9.0 / 10.0;
        // The cover search again, where its share cut it short, with half of
        // what is left; then the bar-completion search to the limit.
        bool coverAgain = true;
        bool lastSearch = true;
    } single;

    // The pattern relaxation and the dives into it on one stock length
    // (solvers/close_gap.h, solvers/dive.h). Found by trial on the classic
    // instance classes: two discrepancies (with three, a dive backtracks deep
    // down where the mistake was made near the top, and takes the time of
    // the next dive, which goes another way), about 50 ms of work for the
    // relaxation of one node, one node for every eight bars left far from
    // the end, the exact search once eight bars or fewer are left, weights
    // within 30 % either way for the dives after the first, and at most 64
    // nodes a dive (one that meets the bound takes a few dozen; one that
    // goes astray early rarely comes back by backtracking).
    struct Dive {
        // Beyond this many sizes the relaxation is not tried: every bar and
        // column holds a count for each size.
        int mostTypes = 1500;
        int maxDiscrepancy = 2;
        long long nodeRelaxation = WorkOf(std::chrono::milliseconds(50));
        int batchRoom = 8;
        int smallRoom = 8;
        long long searchWork = WorkOf(std::chrono::milliseconds(30));
        double shake = 0.3;
        int mostNodes = 64;
        // Less work than this is not worth another dive.
        long long lastDive = WorkOf(std::chrono::milliseconds(20));
        // The integer program over the bars nearly worth 1: tried with at
        // most this many pieces a bar on average and this much work to solve
        // the relaxation to the end (seen on the published classes and
        // workshop orders, where those that could be listed had about four
        // pieces a bar and took at most 16 ms); its first try before the
        // dives, long enough for its branch and bound to rule out a packing
        // at the bound of the published Hard28 orders that have none, which
        // the dives never find.
        bool valuedCover = true;
        long long coverPieces = 5;
        long long coverRelaxation = WorkOf(std::chrono::milliseconds(30));
        long long firstCover = WorkOf(std::chrono::milliseconds(2000));
    } dive;

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
        // Merging bars, moving pieces and repacking the least filled bars of
        // each plan found to make it cheaper (bar_moves.h), in all.
        long long movesWork = WorkOf(std::chrono::milliseconds(200));
        // Plans with given numbers of bars of each kind, solved as one stock
        // length (bar_counts.h): the bought length at the bound first, then,
        // once all its ways of adding up are ruled out, the next, to the
        // limit. The solver for one length shares out this much of the limit
        // among its own phases for each way (the whole limit: on the
        // mixed-stock benchmark a half proves 80 of 100 orders, the whole 88,
        // most ways being settled well before); a length with more ways than
        // `mostCounts` is tried but never ruled out.
        bool byCounts = true;
        double countsTryShare = 1.0;
        size_t mostCounts = 16;
    } mixed;
};

} // namespace cutting
