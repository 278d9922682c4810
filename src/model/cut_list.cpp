#include "cut_list.h"

namespace model {

CutList CutListOf(const Grille& grille) {
    const bool doubleBelt = grille.DoubleBelt == True16;
    CutList cuts;
    cuts.horizontalLength = grille.B;
    cuts.horizontalCount = doubleBelt ? 4 : 2;
    cuts.verticalLength = doubleBelt ? grille.H : grille.H - grille.q;
    cuts.verticalCount = grille.n + 3;
    return cuts;
}

} // namespace model
