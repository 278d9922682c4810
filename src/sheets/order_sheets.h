#pragma once

// The order's grilles and cut lists as sheets, from the same figures the
// report prints.

#include "table.h"

#include "model/order.h"

namespace sheets {

// "Решётки": grilles 1..GrilleCount as the report table has them (opening,
// gaps, t, n, B, H, b, side gap, S), with the total area below.
Sheet GrillesSheet(const model::Order& order);

// "Резка": every line of the grilles' cut lists, the belts of each grille
// first, with its length in all and the order's totals.
Sheet CutsSheet(const model::Order& order);

} // namespace sheets
