#pragma once

// The texts the window and the printed page show for a plan, in one place.

#include "plan_value.h"

#include <QString>

// "1500 × 5 + 1000 × 2": the cuts of one bar of the pattern.
QString LengthsText(const cutting::Pattern& pattern);
// "1, 3, 4": the grilles whose pieces the pattern cuts.
QString GrillesText(const cutting::Pattern& pattern);
// "плеть 11750" or "обрезок 2500": what the pattern cuts.
QString SourceText(const cutting::Pattern& pattern);

// What the plan was made with, as the heading of the printed plan.
QString SettingsText(const cutting::Settings& settings);
QString TotalsText(const cutting::Plan& plan);
QString PurchasesText(const cutting::Plan& plan);
QString LeftoversText(const cutting::Plan& plan, int minUseful);
// "оптимально", or how far the plan may be from the best one.
QString StatusText(const PlanValue& value);
