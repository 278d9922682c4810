#pragma once

// A full order as the workshop makes one: 60 openings sized with 14 mm bar,
// every third grille on a double belt, its cutting plan and its estimate.

#include "estimate/estimate.h"
#include "model/sizing.h"
#include "optimize/order_pieces.h"

struct WorkshopOrder {
    WorkshopOrder() {
        order.Quadro = 14;
        order.GrilleCount = model::MaxOpenings;
        for (model::int16 i = 1; i <= model::MaxOpenings; ++i) {
            order.OpeningAt(i) = {static_cast<model::int16>(700 + 23 * i),
                                  static_cast<model::int16>(900 + 17 * i), 20, 30, 25};
            model::SizeGrilleFrame(order, i);
            model::SizeGrilleSteps(order, i);
            model::SizeGrilleInserts(order, i);
            order.GrilleAt(i).DoubleBelt = i % 3 == 0 ? model::True16 : model::False16;
        }
        settings.stock = 6000;
        settings.kerf = 3;
        settings.trim = 10;
        settings.timeLimit = 0.2;
        plan = cutting::PlanCutting(cutting::OrderCutList(order), settings).plan;
        prices = {12050, 4500, 80000, 35000, 500, 1500};
        estimate =
            estimate::EstimateOrder(order, prices, estimate::BoughtMetal{plan.boughtLength, 14})
                .estimate;
    }
    model::Order order;
    cutting::Settings settings;
    cutting::Plan plan;
    estimate::PriceList prices;
    estimate::OrderEstimate estimate;
};
