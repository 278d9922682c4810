#pragma once

#include "cutting.h"

#include "model/cut_list.h"
#include "model/order.h"

#include <vector>

namespace cutting {

// The pieces of the given cut lists, grille i's at index i - 1, the belts of
// each grille first. A grille near the 16-bit limits yields a length that
// CheckInput refuses instead of an overflow.
std::vector<CutItem> PiecesOf(const std::vector<model::CutList>& cuts);

// The pieces of grilles 1..GrilleCount of an order. A GrilleCount above 60
// raises the subscript error of the tables.
std::vector<CutItem> OrderCutList(const model::Order& order);

} // namespace cutting
