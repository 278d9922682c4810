#pragma once

#include "order.h"

namespace model {

// The three sizing rules that turn opening i into grille i. Each checks i
// first; an overflow or division by zero leaves the field being computed and
// the fields after it as they were. None touches DoubleBelt.

// B, H, q and S from the opening and the current Quadro.
void SizeGrilleFrame(Order& order, int16 i);
// The step t = q + 150 and the number of steps n = (B - Quadro) div t.
void SizeGrilleSteps(Order& order, int16 i);
// The side insert width b from B, n, t and q.
void SizeGrilleInserts(Order& order, int16 i);

} // namespace model
