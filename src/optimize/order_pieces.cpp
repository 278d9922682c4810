#include "order_pieces.h"

#include "cutting.h"

namespace cutting {

std::vector<CutItem> PiecesOf(const std::vector<model::CutList>& cuts) {
    std::vector<CutItem> items;
    int grille = 0;
    for (const model::CutList& cut : cuts) {
        ++grille;
        items.push_back({grille, PieceKind::Horizontal, cut.horizontalLength, cut.horizontalCount});
        items.push_back({grille, PieceKind::Vertical, cut.verticalLength, cut.verticalCount});
    }
    return items;
}

std::vector<CutItem> OrderCutList(const model::Order& order) {
    std::vector<model::CutList> cuts;
    for (int i = 1; i <= order.GrilleCount; ++i)
        cuts.push_back(model::CutListOf(order.GrilleAt(i)));
    return PiecesOf(cuts);
}

} // namespace cutting
