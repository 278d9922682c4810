#include "order_sheets.h"

#include "optimize/order_pieces.h"

namespace sheets {

Sheet GrillesSheet(const model::Order& order) {
    Section grilles;
    grilles.header = {"N", "Ш.П", "В.П", "В.З", "Н.З", "t", "n", "B", "H", "b", "Б.З", "S"};
    double totalArea = 0;
    for (int i = 1; i <= order.GrilleCount; ++i) {
        const model::Opening& o = order.OpeningAt(i);
        const model::Grille& g = order.GrilleAt(i);
        grilles.rows.push_back({Integer(i), Integer(o.Width), Integer(o.Height), Integer(o.TopGap),
                                Integer(o.BottomGap), Integer(g.t), Integer(g.n), Integer(g.B),
                                Integer(g.H), Integer(g.b), Integer(o.SideGap), Real(g.S)});
        // Summed in the report's order, so the total is the report's.
        totalArea += g.S;
    }
    std::vector<Cell> total(grilles.header.size());
    total.front() = Text("Итого");
    total.back() = Real(totalArea);
    grilles.rows.push_back(std::move(total));
    return {"Решётки", {std::move(grilles)}};
}

Sheet CutsSheet(const model::Order& order) {
    Section cuts;
    cuts.header = {"Решётка", "Пруток", "Длина, мм", "Количество, шт", "Всего, мм"};
    long long pieces = 0;
    long long length = 0;
    for (const cutting::CutItem& item : cutting::OrderCutList(order)) {
        const long long all = static_cast<long long>(item.length) * item.count;
        cuts.rows.push_back({Integer(item.grille), Text(cutting::KindName(item.kind)),
                             Integer(item.length), Integer(item.count), Integer(all)});
        pieces += item.count;
        length += all;
    }
    cuts.rows.push_back({Text("Итого"), {}, {}, Integer(pieces), Integer(length)});
    return {"Резка", {std::move(cuts)}};
}

} // namespace sheets
