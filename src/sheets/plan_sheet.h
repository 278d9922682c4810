#pragma once

// A cutting plan as a sheet, and the words for a pattern that the plan's
// window and printed sheet use too.

#include "table.h"

#include "optimize/cutting.h"

#include <string>

namespace sheets {

// "1500 × 5 + 1000 × 2": the cuts of one bar of the pattern.
std::string CutsText(const cutting::Pattern& pattern);
// "1, 3, 4": the grilles whose pieces the pattern cuts.
std::string GrillesText(const cutting::Pattern& pattern);
// "плеть 11750" or "обрезок 2500": what the pattern cuts.
std::string SourceText(const cutting::Pattern& pattern);
// "в запас" for a leftover worth keeping, "в отход" for a shorter one, ""
// for none.
std::string LeftoverText(int leftover, int minUseful);

// "Раскрой": each pattern, the bars to buy, the leftovers kept and scrapped,
// and the plan's figures with "оптимально" or its gap to the bound.
Sheet PlanSheet(const cutting::Plan& plan, const cutting::Settings& settings);

} // namespace sheets
