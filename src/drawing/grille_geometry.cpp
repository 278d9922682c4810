#include "grille_geometry.h"

#include "model/errors.h"
#include "model/int16.h"
#include "model/numbers.h"

#include <cfloat>
#include <cmath>
#include <new>

namespace drawing {
namespace {

using model::ErrorKind;
using model::RuntimeError;

// Real division that fails on a zero divisor or a result out of range. What
// kind of failure it was does not matter: any of them ends the drawing.
double Quotient(double a, double b) {
    if (b == 0)
        throw RuntimeError(ErrorKind::DivisionByZero);
    const double q = a / b;
    if (!std::isfinite(q))
        throw RuntimeError(ErrorKind::Overflow);
    return q;
}

// Rounding to a 32-bit real; a value beyond its range is an overflow.
float Single(double x) {
    if (!(std::fabs(x) <= FLT_MAX))
        throw RuntimeError(ErrorKind::Overflow);
    return static_cast<float>(x);
}

} // namespace

GrilleDrawing PlanGrille(const model::Order& order, double number, float width,
                         float height) noexcept {
    GrilleDrawing plan;
    try {
        const model::Grille& g = order.GrilleAt(model::ToIndex(number));
        const double wp = width;
        const double hp = height;

        // The dimension whose aspect is the larger binds; equal aspects (as
        // 32-bit reals) bind the height.
        const float ap = Single(Quotient(wp, hp));
        const float ag = Single(Quotient(g.B, g.H));
        const bool widthBinds = ag > ap;
        const double k =
            widthBinds ? Quotient(wp - MarginTwips, g.B) : Quotient(hp - MarginTwips, g.H);
        const double x0 = widthBinds ? MarginTwips / 2 : (wp - g.B * k) / 2;
        const double y0 = widthBinds ? (hp - g.H * k) / 2 : MarginTwips / 2;

        plan.cleared = true;

        const double qk = g.q * k;
        const double bk = g.B * k;
        const double hk = g.H * k;
        const double ik = g.b * k;
        const double tk = Quotient(bk - 2 * qk - 2 * ik, g.n);
        const double xs = x0 + qk + ik;

        auto box = [&plan](double x1, double y1, double x2, double y2) {
            plan.bars.push_back(Bar{Single(x1), Single(y1), Single(x2), Single(y2)});
        };
        const double top = y0 + qk;
        const double bottom = y0 + hk - 2 * qk;
        box(x0, y0, x0 + bk, y0 + qk);
        box(x0, bottom, x0 + bk, y0 + hk - qk);
        box(x0, top, x0 + qk, bottom);
        box(x0 + bk - qk, top, x0 + bk, bottom);
        if (g.b != 0) {
            box(x0 + qk + ik, top, x0 + 2 * qk + ik, bottom);
            box(x0 + bk - ik - 2 * qk, top, x0 + bk - ik - qk, bottom);
        }
        const model::int16 last = model::Sub(g.n, 1);
        for (int i = 1; i <= last; ++i)
            box(xs + i * tk, top, xs + i * tk + qk, bottom);
    } catch (const RuntimeError&) {
        // A rule that failed (an index, a division by zero, an overflow) ends
        // the drawing there, silently: the picture keeps what was drawn.
    } catch (const std::bad_alloc&) {
        // So does a bar there is no memory for; nothing may leave a noexcept
        // function.
    }
    return plan;
}

} // namespace drawing
