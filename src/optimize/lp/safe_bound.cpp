#include "safe_bound.h"

#include "optimize/instance/instance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cutting::detail {

namespace {

constexpr Wide MostLong = std::numeric_limits<long long>::max();

// ceil(num / den) for den > 0, at most the largest long long.
long long CeilDiv(Wide num, Wide den) {
    const Wide q = num > 0 ? (num + den - 1) / den : num / den;
    return static_cast<long long>(std::min(q, MostLong));
}

// Beyond these the products of the Lagrangian bound could leave 127 bits.
constexpr long long MostCost = 1LL << 24;
constexpr size_t MostKinds = 1024;

} // namespace

WholeValues MakeWhole(const std::vector<double>& value, const std::vector<double>& reach,
                      long long most) {
    WholeValues whole;
    whole.value.assign(value.size(), 0);
    // The largest term is below 2^top; a reach below 1 counts as 1, so that
    // no value alone leaves the range. The terms are summed scaled by 2^-top,
    // so that however large or small they are, the sum neither overflows nor
    // loses the largest of them.
    auto counted = [&](size_t i) { return std::isfinite(value[i]) && value[i] != 0.0; };
    int top = std::numeric_limits<int>::min();
    for (size_t i = 0; i < value.size(); ++i)
        if (counted(i)) {
            int ev = 0, er = 0;
            std::frexp(value[i], &ev);
            std::frexp(std::max(reach[i], 1.0), &er);
            top = std::max(top, ev + er);
        }
    if (top == std::numeric_limits<int>::min() || most < 4)
        return whole;
    double total = 0.0;
    for (size_t i = 0; i < value.size(); ++i)
        if (counted(i))
            total += std::ldexp(std::abs(value[i]), -top) * std::max(reach[i], 1.0);
    // total * 2^top < 2^(e + top) and most / 2 >= 2^(m - 1): scaled by
    // 2^(m - 1 - e - top), the sum stays within half of `most`, which leaves
    // room for the rounding errors of the sum itself.
    int e = 0, m = 0;
    std::frexp(total, &e);
    std::frexp(static_cast<double>(most / 2), &m);
    whole.shift = m - 1 - e - top;
    for (size_t i = 0; i < value.size(); ++i)
        if (counted(i))
            whole.value[i] = static_cast<long long>(std::trunc(std::ldexp(value[i], whole.shift)));
    return whole;
}

WholeValues WholePieceValues(const Instance& in, const std::vector<double>& dual,
                             const std::vector<int>& demand) {
    std::vector<double> value(dual.size()), reach(dual.size());
    for (size_t i = 0; i < dual.size(); ++i) {
        value[i] = std::max(0.0, dual[i]);
        reach[i] = std::max(demand[i], in.capacity / in.size[i]);
    }
    return MakeWhole(value, reach);
}

Wide WorthOf(const std::vector<long long>& value, const std::vector<int>& count) {
    Wide worth = 0;
    for (size_t i = 0; i < value.size() && i < count.size(); ++i)
        worth += static_cast<Wide>(count[i]) * value[i];
    return worth;
}

long long FarleyBound(Wide needed, Wide best) {
    if (needed <= 0 || best <= 0)
        return 0;
    return CeilDiv(needed, best);
}

long long LeastCost(Wide needed, const std::vector<Kind>& kinds,
                    const std::vector<long long>& price) {
    if (needed <= 0 || kinds.size() > MostKinds)
        return 0;
    for (const Kind& kind : kinds)
        if (kind.cost < 0 || kind.cost >= MostCost)
            return 0;
    // At a rate t (cost per worth), the bars of a plan cost at least
    // t * needed less, for each kind of limited number, count * (t * price -
    // cost) where that is above 0; bars of any number may not be worth more
    // than their cost at that rate. Rates are kept as fractions cost / price.
    Wide topCost = -1, topPrice = 1; // the highest rate allowed, none yet
    for (size_t k = 0; k < kinds.size(); ++k)
        if (kinds[k].count < 0 && price[k] > 0 &&
            (topCost < 0 || static_cast<Wide>(kinds[k].cost) * topPrice < topCost * price[k]))
            topCost = kinds[k].cost, topPrice = price[k];
    long long best = 0;
    auto tryRate = [&](Wide cost, Wide worth) {
        if (topCost >= 0 && cost * topPrice > topCost * worth)
            return;
        Wide num = cost * needed;
        for (size_t k = 0; k < kinds.size(); ++k)
            if (kinds[k].count >= 0)
                num -= static_cast<Wide>(kinds[k].count) *
                       std::max<Wide>(0, cost * price[k] - kinds[k].cost * worth);
        if (num > 0)
            best = std::max(best, CeilDiv(num, worth));
    };
    if (topCost >= 0)
        tryRate(topCost, topPrice);
    for (size_t k = 0; k < kinds.size(); ++k)
        if (kinds[k].count >= 0 && price[k] > 0)
            tryRate(kinds[k].cost, price[k]);
    return best;
}

Wide Shortfall(const PriceBound& bound, const std::vector<long long>& counts) {
    Wide left = bound.wholeNeeded;
    for (size_t k = 0; k < counts.size() && k < bound.wholePrice.size(); ++k)
        left -= static_cast<Wide>(counts[k]) * bound.wholePrice[k];
    return left;
}

long long FewestBars(Wide shortfall, long long price) {
    if (shortfall <= 0)
        return 0;
    if (price <= 0)
        return -1;
    return CeilDiv(shortfall, price);
}

int RoundedValue(double value) {
    if (!(value > 0.0))
        return 0;
    const double up = std::ceil(value - 1e-6);
    return up >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                 : static_cast<int>(up);
}

} // namespace cutting::detail
