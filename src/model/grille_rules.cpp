#include "grille_rules.h"

namespace model {

bool NeedsDoubleBelt(const Grille& grille) {
    return grille.B > MostSingleBeltWidth && grille.DoubleBelt == False16;
}

bool InsertsOutOfRange(int16 insert) {
    return insert != 0 && (insert < NarrowestInsert || insert > WidestInsert);
}

} // namespace model
