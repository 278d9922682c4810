#pragma once

#include "model/order.h"

#include <vector>

namespace drawing {

// The drawing margin along the binding dimension, half of it at each end.
constexpr double MarginTwips = 300;

// One bar of a grille drawing: a box between two corners, in twips of the
// picture (origin at its top left corner, y growing downwards). Each
// coordinate is the 32-bit real that the box is drawn with.
struct Bar {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;

    friend bool operator==(const Bar&, const Bar&) = default;
};

// What drawing one grille does to the picture.
struct GrilleDrawing {
    // False when the drawing failed before the picture was cleared: the
    // picture keeps what it shows. True when the picture was cleared; `bars`
    // then holds what was drawn after that, in drawing order, up to the step
    // that failed if one did.
    bool cleared = false;
    std::vector<Bar> bars;
};

// Plans the drawing of one grille of the order to scale in a picture of the
// given outer size in twips. `number` is the grille number as a real (the
// parsed text of the grille box); it is rounded half to even and must lie in
// 1..60. The bars come in a fixed order: top, bottom, left and right frame
// bars, the two insert bars (only when b is not 0), then the n - 1 inner bars
// from left to right.
//
// Never throws: an index error, a division by zero, a result that is not a
// finite 32-bit real or a 16-bit overflow ends the plan where it happened.
GrilleDrawing PlanGrille(const model::Order& order, double number, float width,
                         float height) noexcept;

} // namespace drawing
