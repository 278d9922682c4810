#pragma once

#include "plan_value.h"
#include "printing/page_printer.h"

// The plan as a print job: its settings, totals, purchases and leftovers,
// then each way of cutting a bar with a picture of it.
PrintJob PlanPrintJob(const PlanValue& value);
