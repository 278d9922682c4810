#pragma once

// The price of an order of square-bar grilles: per grille the metal (from the
// cut list), the weld joints, the grille's area and the painted surface, and
// the order's total on the metal it pays for.
//
// Every figure is exact: lengths in millimetres, areas in square millimetres,
// masses in whole units of a small fraction of a kilogram, prices summed over
// one common denominator and rounded half up to whole roubles once, at the
// end. A bar of a mm weighs a² × 0.00785 kg per metre, so L mm of it weigh
// L × a² × 785 units of 10⁻⁸ kg.

#include "price_list.h"

#include "model/order.h"

#include <optional>
#include <string>
#include <vector>

namespace estimate {

// 128 bits, a GCC and Clang extension: masses and prices of the largest orders.
__extension__ typedef __int128 Wide;

// Grille area S is taken in whole square millimetres, rounded half up from the
// stored value; for every S the sizing makes (H × B / 10⁶) that is the figure
// the report prints. An S outside 0..32767² mm² is refused.
inline constexpr long long MostArea = 32767LL * 32767;

// The bars a cutting plan buys: their total length in millimetres and their
// size in millimetres. A plan may buy nothing when offcuts on hand suffice.
struct BoughtMetal {
    long long length = 0;
    int barSize = 0;
};
inline constexpr long long MostBoughtLength = 10'000'000'000LL; // 10 000 km

// What the metal to pay for was taken from.
enum class MetalBasis {
    Allowance,   // the pieces' mass plus the waste allowance
    CuttingPlan, // the mass of the bars the cutting plan buys
};

struct GrilleEstimate {
    long long length = 0;      // bar in the cut list, mm
    Wide mass = 0;             // of that bar, 10⁻⁸ kg
    long long joints = 0;      // weld joints: uprights × belts
    long long area = 0;        // S, mm²
    long long paintedArea = 0; // four faces of the bar, mm²
    Wide price = 0;            // roubles, on its mass plus the waste allowance
};

struct OrderEstimate {
    std::vector<GrilleEstimate> grilles; // grille i at index i - 1
    long long length = 0;
    Wide mass = 0; // 10⁻⁸ kg
    long long joints = 0;
    long long area = 0;
    long long paintedArea = 0;
    MetalBasis basis = MetalBasis::Allowance;
    // The metal paid for, in 10⁻¹² kg: the allowance, in hundredths of a
    // percent, makes it finer than the pieces' mass.
    Wide paidMass = 0;
    // Roubles. With a cutting plan the grilles' own prices, each on its
    // pieces plus the allowance, need not add up to it.
    Wide price = 0;
};

struct Result {
    bool ok = false;
    std::string error; // in Russian, when !ok
    OrderEstimate estimate;
};

// The order's price by kind, each before the markup and rounded half up to
// roubles on its own: a breakdown to show, whose parts may differ from the
// price by a rouble or two of rounding.
struct Costs {
    Wide metal = 0;
    Wide joints = 0;
    Wide area = 0;
    Wide paint = 0;
    Wide markup = 0; // the price less the four before it, as rounded
};
Costs CostsOf(const OrderEstimate& estimate, const PriceList& prices);

// Prices grilles 1..GrilleCount of the order on the metal bought by the plan
// when one is given, else on the pieces' mass plus the allowance. Refuses,
// with the reason and no estimate, an order without grilles, a grille whose
// bar size, cut list or area is not one a sizing makes, prices out of range
// and a plan's length or bar size out of range. Raises nothing.
Result EstimateOrder(const model::Order& order, const PriceList& prices,
                     const std::optional<BoughtMetal>& bought = std::nullopt);

} // namespace estimate
