#pragma once

#include "int16.h"

#include <array>

namespace model {

constexpr int MaxOpenings = 60;

// A DoubleBelt flag holds -1 for true and 0 for false, as it is stored on disk.
constexpr int16 True16 = -1;
constexpr int16 False16 = 0;

// One window or door opening as the user entered it; all in millimetres.
struct Opening {
    int16 Width = 0;     // width of the opening
    int16 Height = 0;    // height of the opening
    int16 TopGap = 0;    // between the top of the opening and the grille
    int16 BottomGap = 0; // between the grille and the bottom of the opening
    int16 SideGap = 0;   // on each side, the same left and right

    friend bool operator==(const Opening&, const Opening&) = default;
};

// The grille computed for the opening of the same number. Lengths in
// millimetres; the fields keep the order in which an order file stores them.
struct Grille {
    int16 B = 0;                // overall width
    int16 H = 0;                // overall height
    int16 t = 0;                // step from one vertical bar to the next
    int16 n = 0;                // number of steps
    int16 b = 0;                // width of each of the two side inserts; 0 for none
    int16 q = 0;                // the bar size the grille was last sized with
    int16 DoubleBelt = False16; // True16 when the grille has a double belt
    double S = 0.0;             // area in square metres

    friend bool operator==(const Grille&, const Grille&) = default;
};

// Raises the subscript error unless 1 <= i <= 60.
void CheckIndex(long long i);

// One order: the two tables of 60 entries (numbered 1..60, grille i belongs to
// opening i), the current square bar size and the number of grilles last
// computed or loaded. Exactly one lives for the whole run of the program and
// is handed to every window.
class Order {
public:
    Opening& OpeningAt(long long i);
    const Opening& OpeningAt(long long i) const;
    Grille& GrilleAt(long long i);
    const Grille& GrilleAt(long long i) const;

    void SetOpeningWidth(int16 i, int16 v) { OpeningAt(i).Width = v; }
    void SetOpeningHeight(int16 i, int16 v) { OpeningAt(i).Height = v; }
    void SetOpeningTopGap(int16 i, int16 v) { OpeningAt(i).TopGap = v; }
    void SetOpeningBottomGap(int16 i, int16 v) { OpeningAt(i).BottomGap = v; }
    void SetOpeningSideGap(int16 i, int16 v) { OpeningAt(i).SideGap = v; }
    void SetGrilleStep(int16 i, int16 v) { GrilleAt(i).t = v; }

    // Sets every field of all 60 openings and grilles to zero; Quadro and
    // GrilleCount are left as they are.
    void ClearTables();

    int16 Quadro = 0;
    int16 GrilleCount = 0;

private:
    std::array<Opening, MaxOpenings> openings_{};
    std::array<Grille, MaxOpenings> grilles_{};
};

} // namespace model
