#pragma once

// Which bars a grille is cut from: the one rule behind the report's material
// blocks and the pieces the cutting plan cuts.

#include "order.h"

namespace model {

struct CutList {
    // The belts: two bars of the grille's width, four with a double belt.
    int horizontalLength = 0;
    int horizontalCount = 0;
    // The uprights: n + 3 bars (n - 1 inner ones, two sides, two inserts) of
    // the full height with a double belt, else of H - q.
    int verticalLength = 0;
    int verticalCount = 0;

    friend bool operator==(const CutList&, const CutList&) = default;
};

// Worked out in full integers: a grille near the 16-bit limits gives lengths
// and counts beyond them, for the caller to refuse or report.
CutList CutListOf(const Grille& grille);

} // namespace model
