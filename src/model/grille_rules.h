#pragma once

// What the workshop makes of a sized grille: the warnings the grille panel
// shows in red and the values the correction dialog offers. The windows only
// show these.

#include "int16.h"
#include "order.h"

namespace model {

// A grille wider than this, in millimetres, needs a double belt.
inline constexpr int16 MostSingleBeltWidth = 1500;
// Side inserts are either left out or 40 to 144 mm wide.
inline constexpr int16 NarrowestInsert = 40;
inline constexpr int16 WidestInsert = 144;

// The values a correction slider offers, in millimetres.
struct Range {
    int least;
    int most;
};
inline constexpr Range SideGapRange{0, 40};
inline constexpr Range StepRange{100, 170};

// True when the grille is too wide for the single belt it has.
bool NeedsDoubleBelt(const Grille& grille);
// True when the grille has side inserts of a width the workshop does not make.
bool InsertsOutOfRange(int16 insert);

} // namespace model
