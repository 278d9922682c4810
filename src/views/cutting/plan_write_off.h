#pragma once

#include "plan_value.h"
#include "stock/stock_store.h"

#include <string>

// What writing the plan off takes out of the store and adds to it: the
// offcuts on hand it cuts, the bars of the counted stock lengths it cuts (a
// length bought as needed, or one the store does not hold, is bought and
// changes nothing there), and the leftovers worth keeping, as offcuts.
// `planned` is the bar size's store as read when the plan was asked for.
stock::WriteOff WriteOffOf(const PlanValue& value, int barSize, const std::string& order,
                           const stock::BarStock& planned);
