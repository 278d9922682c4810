#pragma once

// The estimate as a sheet: the price list it was made with, each grille's
// metal, joints, areas and price, and the order's price by kind.

#include "table.h"

#include "estimate/estimate.h"
#include "model/order.h"

namespace sheets {

// "Смета" for the grilles of `built`, priced as `estimate` (made from
// `prices`). The amounts by kind add up to the order's price exactly; the
// grilles' own prices need not (each is rounded on its own and, with a
// cutting plan, priced on its pieces plus the allowance).
Sheet EstimateSheet(const model::Order& built, const estimate::PriceList& prices,
                    const estimate::OrderEstimate& estimate);

} // namespace sheets
