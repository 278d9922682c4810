#pragma once

#include "cutting.h"
#include "model/order.h"

#include <vector>

namespace cutting {

// The cut lists of grilles 1..GrilleCount (model::CutListOf), horizontal bars
// first. A grille near the 16-bit limits yields a length that CheckInput
// refuses instead of an overflow. A GrilleCount above 60 raises the subscript
// error of the tables.
std::vector<CutItem> OrderCutList(const model::Order& order);

} // namespace cutting
