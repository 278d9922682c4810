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

#include <string>
#include <vector>

namespace cutting {

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

struct Settings {
    int stock = 0;          // length of a stock bar
    int kerf = 0;           // width of a saw cut
    int trim = 0;           // cut off at each end of a stock bar
    double timeLimit = 2.0; // seconds the search may spend proving optimality
};

// Bars cut the same way: `lengths` are the cuts of one bar, longest first;
// `bars` holds the pieces of each of the `count` bars in the same order.
struct Pattern {
    std::vector<int> lengths;
    int count = 0;
    int offcut = 0;
    std::vector<std::vector<Piece>> bars;
};

struct Plan {
    std::vector<Pattern> patterns; // most used first
    int bars = 0;
    long long boughtLength = 0; // bars * stock
    long long piecesLength = 0; // sum of the lengths of all pieces
    double wastePercent = 0.0;  // share of the bought length that is not a piece
    int lowerBound = 0;         // no plan can use fewer bars
    bool optimal = false;       // bars == lowerBound
};

struct Result {
    bool ok = false;
    std::string error; // in Russian, when !ok
    Plan plan;
};

// The message for input that cannot be planned, or an empty string.
std::string CheckInput(const std::vector<CutItem>& items, const Settings& settings);

// Checks the input and plans it. Nothing is planned when the input is refused.
Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings);

// Russian name of a piece kind in the genitive plural-free form used in
// messages and tables: "горизонтальный" / "вертикальный".
const char* KindName(PieceKind kind);

} // namespace cutting
