#pragma once

#include "estimate/estimate.h"
#include "model/order.h"
#include "printing/page_printer.h"

#include <QDate>

// The quote for the customer, "Коммерческое предложение": the order number
// and date, each grille drawn to scale with its overall width and height
// dimensioned, its number of steps and its price, and the order's total.
PrintJob QuoteJob(const model::Order& built, const QString& orderNumber,
                  const estimate::OrderEstimate& estimate, const QDate& date);
