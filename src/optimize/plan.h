#pragma once

// The solver's bars written out as the plan the user sees: bars cut alike
// grouped into patterns, each piece handed its grille, and the figures of
// the plan (what to buy, what is left, the bound).

#include "cutting.h"

#include "optimize/solvers/solution.h"

#include <vector>

namespace cutting::detail {

// What a kind of bar of the solver is to the plan.
struct KindInfo {
    int length = 0; // stock length, or offcut length
    int usable = 0;
    bool onHand = false;
};

// `lengths` are the piece lengths of the solver's sizes, longest first;
// `kinds` the solver's kinds of bar.
Plan MakePlan(const std::vector<CutItem>& items, const Settings& settings,
              const std::vector<int>& lengths, const std::vector<KindInfo>& kinds,
              const Solution& solution);

} // namespace cutting::detail
