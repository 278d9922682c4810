#pragma once

#include "optimize/cutting.h"

#include <vector>

// One cutting plan as the window shows and prints it: the pieces it was made
// for, the settings it was made with and what came of it. Nothing typed into
// the window afterwards changes it.
struct PlanValue {
    std::vector<cutting::CutItem> pieces;
    cutting::Settings settings;
    cutting::Result result;
    bool stopped = false; // ended by "Стоп" with the best plan found so far
};
