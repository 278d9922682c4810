#include "order_pieces.h"

#include "model/cut_list.h"

namespace cutting {

std::vector<CutItem> OrderCutList(const model::Order& order) {
    std::vector<CutItem> items;
    for (int i = 1; i <= order.GrilleCount; ++i) {
        const model::CutList cuts = model::CutListOf(order.GrilleAt(i));
        items.push_back({i, PieceKind::Horizontal, cuts.horizontalLength, cuts.horizontalCount});
        items.push_back({i, PieceKind::Vertical, cuts.verticalLength, cuts.verticalCount});
    }
    return items;
}

} // namespace cutting
