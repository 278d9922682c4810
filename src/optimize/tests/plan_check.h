#pragma once

#include "optimize/cutting.h"

#include <vector>

// Checks everything a plan promises about itself against the order it was
// made for: every piece cut once, each bar within its usable length, no more
// bars of a counted length or offcuts than there are, and the plan's figures.
void CheckPlan(const std::vector<cutting::CutItem>& items, const cutting::Settings& s,
               const cutting::Plan& plan);
