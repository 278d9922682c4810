#pragma once

// Cutting plan for a whole order: how many stock bars to buy and how to cut
// each of them so that every piece of the cut lists is obtained.
//
// Length model, in whole millimetres:
// - each end of a stock bar loses `trim` (the saw cut of the trim included),
//   so the usable length is stock - 2 * trim;
// - every piece costs its length plus one saw cut (`kerf`), except that the
//   last piece of a bar needs no cut when it ends at the end of the usable
//   length. A set of pieces therefore fits a bar when
//   sum(length + kerf) <= usable + kerf;
// - the offcut of a bar is what remains after the cut behind its last piece,
//   usable - sum(length + kerf), and 0 when that is negative.
//
// Several stock lengths and offcuts on hand: the stock is a table of lengths,
// each with a count or any number, and the workshop may list the offcuts it
// keeps. Trim applies to bought bars only: an offcut on hand was measured
// after the saw cut that freed it, so its whole length is usable (its usable
// length is its length). A plan cuts offcuts on hand first and buys as little
// new length as it can (then as few bars, then leaves as little scrap); the
// lower bound and "optimal" are about the bought length then.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace cutting {

struct Parameters;

enum class PieceKind { Horizontal, Vertical };

// One line of a cut list: `count` pieces of `length` for grille `grille`.
struct CutItem {
    int grille = 0;
    PieceKind kind = PieceKind::Horizontal;
    int length = 0;
    int count = 0;
};

// One piece as it is cut from a bar.
struct Piece {
    int grille = 0;
    PieceKind kind = PieceKind::Horizontal;
    int length = 0;

    friend bool operator==(const Piece&, const Piece&) = default;
};

// Bars any number of which are to be had.
constexpr int Unlimited = -1;

// A stock length on sale or in store: `count` bars of it, or Unlimited.
struct StockBar {
    int length = 0;
    int count = Unlimited;
};

// `count` offcuts of `length` kept in the workshop.
struct Offcut {
    int length = 0;
    int count = 0;
};

struct Settings {
    int stock = 0;          // length of a stock bar, any number of them
    int kerf = 0;           // width of a saw cut
    int trim = 0;           // cut off at each end of a bought stock bar
    double timeLimit = 2.0; // seconds the search may spend proving optimality
    // When not empty, the stock lengths to choose from; `stock` is ignored.
    std::vector<StockBar> stocks = {};
    std::vector<Offcut> offcuts = {}; // on hand, cut before anything is bought
    int minUseful = 500; // a leftover at least this long is kept, a shorter one is scrap
};

// Bars cut the same way: `lengths` are the cuts of one bar, longest first;
// `bars` holds the pieces of each of the `count` bars in the same order.
// `stock` is the length of the bars cut so, a stock length or, when `onHand`,
// the length of offcuts on hand; `offcut` is the leftover of each of them.
struct Pattern {
    std::vector<int> lengths;
    int count = 0;
    int offcut = 0;
    std::vector<std::vector<Piece>> bars;
    int stock = 0;
    bool onHand = false;
};

// `count` bars of `length`: bars to buy, or leftovers.
struct Bars {
    int length = 0;
    int count = 0;
};

struct Plan {
    std::vector<Pattern> patterns; // offcuts on hand first, then most used first
    int bars = 0;                  // new bars to buy
    long long boughtLength = 0;    // their length together
    long long piecesLength = 0;    // sum of the lengths of all pieces
    double wastePercent = 0.0; // share of the length cut (bought and on hand) that is not a piece
    int lowerBound = 0;        // no plan can buy fewer bars
    bool optimal = false;      // proven: no plan buys less length
    long long lowerBoundLength = 0; // no plan can buy less length
    std::vector<Bars> purchases;    // new bars per stock length, longest first
    int offcutsUsed = 0;            // offcuts on hand that are cut
    std::vector<Bars> keep;         // leftovers of at least minUseful, longest first
    std::vector<Bars> scrap;        // shorter leftovers (longer than 0), longest first
};

// How far a running plan has come: given to the progress callback.
struct Progress {
    int bars = 0;                   // new bars of the best plan so far
    long long boughtLength = 0;     // their length
    int lowerBound = 0;             // no plan can buy fewer bars
    long long lowerBoundLength = 0; // no plan can buy less length
    double elapsed = 0.0;           // seconds since the plan started
};

// Control over a running plan, all optional.
// - `cancel`: when another thread sets it to true, the plan returns at once
//   (within a few milliseconds) with the best plan found so far; that plan is
//   marked optimal only when it really is proven. It is only read; it must
//   outlive the call.
// - `progress`: called on the planning thread whenever the best plan or the
//   lower bound improves, and not after PlanCutting returns. It should be
//   quick (hand the figures to another thread and return); the plan waits.
// - `parameters`: the phases of the plan and their shares of the limit
//   (instance/parameters.h); the defaults, when null, suit every order,
//   tests and benchmarks change them. It must outlive the call.
struct Control {
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const Progress&)> progress;
    const Parameters* parameters = nullptr;
};

struct Result {
    bool ok = false;
    std::string error; // in Russian, when !ok
    Plan plan;
};

// Checks the input and plans it. Nothing is planned when the input is refused,
// nor when counted stock cannot hold the pieces (then `error` says so).
// A plan takes settings.timeLimit seconds at most, and a little more (well
// under 0.1 s even for the largest input accepted). PlanCutting may run on any
// thread: it keeps no state between calls and shares none between threads
// (GLPK keeps its environment per thread, and the plan frees it before it
// returns). The arguments must stay unchanged until it returns.
// The same input and limit give the same plan, bar for bar, whenever it is
// proven optimal before its phases use up their shares of the limit; a plan
// that the limit or a request to stop ends is the best found by then.
Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings);
Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings,
                   const Control& control);

// Russian name of a piece kind in the genitive plural-free form used in
// messages and tables: "горизонтальный" / "вертикальный".
const char* KindName(PieceKind kind);

} // namespace cutting
