#include "plan_write_off.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

using Lengths = std::map<int, int, std::greater<>>;

std::vector<stock::Bars> Rows(const Lengths& lengths) {
    std::vector<stock::Bars> rows;
    for (const auto& [length, count] : lengths)
        rows.push_back({length, count});
    return rows;
}

bool Counted(const stock::BarStock& planned, int length) {
    return std::any_of(planned.stock.begin(), planned.stock.end(), [&](const stock::Bars& b) {
        return b.length == length && b.count != stock::Unlimited;
    });
}

} // namespace

stock::WriteOff WriteOffOf(const PlanValue& value, int barSize, const std::string& order,
                           const stock::BarStock& planned) {
    Lengths offcuts, stockBars, kept;
    for (const cutting::Pattern& p : value.result.plan.patterns) {
        if (p.onHand)
            offcuts[p.stock] += p.count;
        else if (Counted(planned, p.stock))
            stockBars[p.stock] += p.count;
    }
    for (const cutting::Bars& leftover : value.result.plan.keep)
        kept[leftover.length] += leftover.count;
    return {barSize, order, Rows(offcuts), Rows(stockBars), Rows(kept), planned};
}
