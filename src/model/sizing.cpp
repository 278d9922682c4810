#include "sizing.h"

#include "numbers.h"

namespace model {

namespace {
constexpr int16 StepAllowance = 150;
constexpr double MillimetresPerMetre = 1000.0;
constexpr int16 SideCount = 2;
} // namespace

void SizeGrilleFrame(Order& order, int16 i) {
    const Opening& o = order.OpeningAt(i);
    Grille& g = order.GrilleAt(i);
    g.B = Sub(o.Width, Mul(SideCount, o.SideGap));
    g.H = Sub(Sub(o.Height, o.TopGap), o.BottomGap);
    g.q = order.Quadro;
    g.S = (g.H / MillimetresPerMetre) * (g.B / MillimetresPerMetre);
}

void SizeGrilleSteps(Order& order, int16 i) {
    Grille& g = order.GrilleAt(i);
    g.t = Add(g.q, StepAllowance);
    g.n = Div(Sub(g.B, order.Quadro), g.t);
}

void SizeGrilleInserts(Order& order, int16 i) {
    Grille& g = order.GrilleAt(i);
    int16 r = Sub(Sub(g.B, order.Quadro), Mul(g.n, g.t));
    double x = r / 2.0 - g.q;
    int16 b = ToInteger(x);
    // A rounded width of -Quadro would put each insert bar onto the frame's
    // side bar: record "no inserts" instead.
    if (b == Neg(order.Quadro))
        b = 0;
    g.b = b;
}

} // namespace model
