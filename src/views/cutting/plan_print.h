#pragma once

#include "plan_value.h"
#include "printing/page_printer.h"

class QDate;

// The plan as a print job: the cutting sheet the person at the saw works
// from (saw_sheet.h), headed with the order number, when there is one, and
// the day.
PrintJob PlanPrintJob(const PlanValue& value, const QString& orderNumber, const QDate& date);
