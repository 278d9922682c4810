#include "order_pieces.h"

namespace cutting {

std::vector<CutItem> OrderCutList(const model::Order& order) {
    std::vector<CutItem> items;
    for (int i = 1; i <= order.GrilleCount; ++i) {
        const model::Grille& g = order.GrilleAt(i);
        const bool doubleBelt = g.DoubleBelt == model::True16;
        items.push_back({i, PieceKind::Horizontal, g.B, doubleBelt ? 4 : 2});
        items.push_back({i, PieceKind::Vertical, doubleBelt ? g.H : g.H - g.q, g.n + 3});
    }
    return items;
}

} // namespace cutting
