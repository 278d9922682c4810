#include "estimate.h"

#include "model/cut_list.h"
#include "model/numbers.h"

#include <cmath>

namespace estimate {
namespace {

// Steel at 7850 kg/m³: a cubic millimetre weighs 785 units of 10⁻⁸ kg.
constexpr Wide SteelPerCubicMm = 785;
// 100 % in hundredths of a percent.
constexpr Wide WholePercent = 100 * 100;
constexpr Wide Mega = 1'000'000;
constexpr Wide Tera = 1'000'000'000'000;
constexpr int MostBarSize = 32767;
// Above MostArea in square metres: a stored S beyond it is refused before it
// is converted, one within it by the exact check after.
constexpr double AreaBound = 1100.0;

// Why no order overflows: the largest grille the 16-bit fields allow has
// B = H = q = n = 32767 and a double belt, so its cut list is 4 belts and
// 32770 uprights of 32767 mm, L = 1 073 905 658 mm, a² = 1 073 676 289 and
// a mass below 9.06·10²⁰ units of 10⁻⁸ kg; 60 of them weigh below 5.44·10²².
// With a 1000 % allowance the metal paid for stays below 5.98·10²⁷ units of
// 10⁻¹² kg (a plan's 10¹⁰ mm of that bar below 8.5·10²⁵), at 10⁹ kopecks a
// kilogram below 5.98·10³⁶. Joints (below 7.9·10⁶), area (below 6.5·10¹⁰
// mm²) and paint (below 8.5·10¹⁵ mm²) at 10⁹ kopecks add below 10³¹ in the
// same units of 10⁻¹² kopecks, so the sum stays below 6·10³⁶, under 2¹²⁷ =
// 1.7·10³⁸. The markup factor (at most 110 000) would pass 2¹²⁷, so Price
// splits the sum at 10¹⁸ before multiplying; both parts stay below 10²⁴.
struct Quantities {
    Wide paidMass = 0; // 10⁻¹² kg
    Wide joints = 0;
    Wide area = 0;        // mm²
    Wide paintedArea = 0; // mm²
};

// Roubles, rounded half up: the sum is in 10⁻¹² kopecks, the markup in
// hundredths of a percent, so the price is sum × (10⁴ + markup) / 10¹⁸.
Wide Price(const Quantities& q, const PriceList& p) {
    const Wide sum = q.paidMass * p.metalPerKg + q.joints * p.perJoint * Tera +
                     (q.area * p.perArea + q.paintedArea * p.paintPerArea) * Mega;
    const Wide unit = Mega * Tera;
    const Wide factor = WholePercent + p.markup;
    return sum / unit * factor + (sum % unit * factor + unit / 2) / unit;
}

Wide MassOf(long long length, long long barSize) {
    return Wide{length} * barSize * barSize * SteelPerCubicMm;
}

Wide WithAllowance(Wide mass, const PriceList& p) {
    return mass * (WholePercent + p.wasteAllowance);
}

// S in whole mm², half up from the exact binary value, which is
// mantissa / 2^shift; nothing outside 0..MostArea.
std::optional<long long> AreaOf(double s) {
    if (!(s >= 0.0 && s <= AreaBound))
        return std::nullopt;
    int exponent = 0;
    const double fraction = std::frexp(s, &exponent);
    const auto mantissa = static_cast<long long>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent; // at least 42 below AreaBound
    if (shift > 100)
        return 0; // below 10⁻¹⁴ m²
    const Wide area = (Wide{mantissa} * Mega + (Wide{1} << (shift - 1))) >> shift;
    if (area > MostArea)
        return std::nullopt;
    return static_cast<long long>(area);
}

std::string GrilleName(int i) {
    return "Решетка №" + model::IntegerText(i);
}

std::string CheckGrille(int i, const model::Grille& g, const model::CutList& cuts) {
    if (g.q <= 0)
        return GrilleName(i) + ": размер прутка " + model::IntegerText(g.q) +
               " мм — должен быть положительным.";
    for (int length : {cuts.horizontalLength, cuts.verticalLength})
        if (length <= 0)
            return GrilleName(i) + ": длина прутка " + model::IntegerText(length) +
                   " мм — решетка рассчитана по нулевому или отрицательному проёму.";
    if (cuts.verticalCount <= 0)
        return GrilleName(i) + ": число стоек " + model::IntegerText(cuts.verticalCount) +
               " — должно быть положительным.";
    if (!AreaOf(g.S))
        return GrilleName(i) + ": площадь S должна быть от 0 до 1073.676289 м².";
    return "";
}

std::string CheckBought(const BoughtMetal& bought) {
    if (bought.length < 0 || bought.length > MostBoughtLength)
        return "Раскрой: длина покупаемых прутков " + model::IntegerText(bought.length) +
               " мм — должна быть от 0 до 10 000 000 000 мм.";
    if (bought.barSize <= 0 || bought.barSize > MostBarSize)
        return "Раскрой: размер прутка " + model::IntegerText(bought.barSize) +
               " мм — должен быть от 1 до 32767 мм.";
    return "";
}

std::string CheckOrder(const model::Order& order) {
    if (order.GrilleCount <= 0)
        return "В заказе нет ни одной рассчитанной решетки: считать нечего.";
    if (order.GrilleCount > model::MaxOpenings)
        return "В заказе " + model::IntegerText(order.GrilleCount) +
               " решеток: считается не более 60.";
    for (int i = 1; i <= order.GrilleCount; ++i) {
        const model::Grille& g = order.GrilleAt(i);
        if (std::string error = CheckGrille(i, g, model::CutListOf(g)); !error.empty())
            return error;
    }
    return "";
}

GrilleEstimate EstimateGrille(const model::Grille& g, const PriceList& prices) {
    const model::CutList cuts = model::CutListOf(g);
    GrilleEstimate e;
    e.length = static_cast<long long>(cuts.horizontalLength) * cuts.horizontalCount +
               static_cast<long long>(cuts.verticalLength) * cuts.verticalCount;
    e.mass = MassOf(e.length, g.q);
    e.joints = static_cast<long long>(cuts.verticalCount) * cuts.horizontalCount;
    e.area = *AreaOf(g.S);
    e.paintedArea = 4 * g.q * e.length;
    e.price = Price({WithAllowance(e.mass, prices), e.joints, e.area, e.paintedArea}, prices);
    return e;
}

} // namespace

Costs CostsOf(const OrderEstimate& e, const PriceList& p) {
    // A rouble is 10¹⁴ of the sum's units of 10⁻¹² kopecks.
    const Wide rouble = 100 * Tera;
    auto roubles = [&](Wide sum) { return (sum + rouble / 2) / rouble; };
    Costs c;
    c.metal = roubles(e.paidMass * p.metalPerKg);
    c.joints = roubles(Wide{e.joints} * p.perJoint * Tera);
    c.area = roubles(Wide{e.area} * p.perArea * Mega);
    c.paint = roubles(Wide{e.paintedArea} * p.paintPerArea * Mega);
    c.markup = e.price - c.metal - c.joints - c.area - c.paint;
    return c;
}

Result EstimateOrder(const model::Order& order, const PriceList& prices,
                     const std::optional<BoughtMetal>& bought) {
    std::string error = CheckPrices(prices);
    if (error.empty() && bought)
        error = CheckBought(*bought);
    if (error.empty())
        error = CheckOrder(order);
    if (!error.empty())
        return {false, error, {}};

    OrderEstimate e;
    for (int i = 1; i <= order.GrilleCount; ++i) {
        const GrilleEstimate& g = e.grilles.emplace_back(EstimateGrille(order.GrilleAt(i), prices));
        e.length += g.length;
        e.mass += g.mass;
        e.joints += g.joints;
        e.area += g.area;
        e.paintedArea += g.paintedArea;
    }
    e.basis = bought ? MetalBasis::CuttingPlan : MetalBasis::Allowance;
    e.paidMass = bought ? MassOf(bought->length, bought->barSize) * WholePercent
                        : WithAllowance(e.mass, prices);
    e.price = Price({e.paidMass, e.joints, e.area, e.paintedArea}, prices);
    return {true, "", e};
}

} // namespace estimate
