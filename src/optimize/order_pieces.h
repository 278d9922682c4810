#pragma once

#include "cutting.h"
#include "model/order.h"

#include <vector>

namespace cutting {

// The cut lists of grilles 1..GrilleCount as the material blocks give them:
// per grille its horizontal bars (B, two or four with a double belt) and its
// vertical bars (H with a double belt, H - q without; n + 3 of them). Worked
// out in full integers, so a grille near the 16-bit limits yields a length
// that CheckInput refuses instead of an overflow. A GrilleCount above 60
// raises the subscript error of the tables.
std::vector<CutItem> OrderCutList(const model::Order& order);

} // namespace cutting
