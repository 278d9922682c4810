#include "estimate_sheet.h"

#include "estimate/estimate_text.h"

#include <algorithm>

namespace sheets {
namespace {

using estimate::Wide;

// Whole roubles with two decimals.
Cell Money(Wide roubles) {
    std::string digits;
    for (Wide v = roubles < 0 ? -roubles : roubles; digits.empty() || v > 0; v /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    if (roubles < 0)
        digits.insert(digits.begin(), '-');
    return Rounded(static_cast<double>(roubles), 2, digits + ",00");
}

std::string WithComma(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// Every digit of the mass, shown and written to 0.01 kg.
Cell Kilograms(Wide mass) {
    return Rounded(static_cast<double>(mass) / 1e8, 2, WithComma(estimate::KilogramText(mass)));
}

Cell SquareMetres(long long area) {
    return Exact(area, 6);
}

Section PricesSection(const estimate::PriceList& p) {
    Section prices{{}, {"Статья", "Значение", "Единица"}, {}};
    const auto add = [&](const char* name, long long hundredths, const char* unit) {
        prices.rows.push_back({Text(name), Fixed(hundredths, 2), Text(unit)});
    };
    add("Металл", p.metalPerKg, "₽ за кг");
    add("Сварной узел", p.perJoint, "₽");
    add("Решётка", p.perArea, "₽ за м²");
    add("Покраска", p.paintPerArea, "₽ за м² поверхности");
    add("Припуск на отходы", p.wasteAllowance, "%");
    add("Наценка", p.markup, "%");
    return prices;
}

Section GrillesSection(const model::Order& built, const estimate::OrderEstimate& e) {
    Section grilles{"Решётки",
                    {"№", "B, мм", "H, мм", "Металл, мм", "Масса, кг", "Узлы, шт", "Площадь, м²",
                     "Покраска, м²", "Цена, ₽"},
                    {}};
    for (size_t k = 0; k < e.grilles.size(); ++k) {
        const estimate::GrilleEstimate& g = e.grilles[k];
        const model::Grille& grille = built.GrilleAt(static_cast<long long>(k) + 1);
        grilles.rows.push_back({Integer(static_cast<long long>(k) + 1), Integer(grille.B),
                                Integer(grille.H), Integer(g.length), Kilograms(g.mass),
                                Integer(g.joints), SquareMetres(g.area),
                                SquareMetres(g.paintedArea), Money(g.price)});
    }
    grilles.rows.push_back({Text("Итого"),
                            {},
                            {},
                            Integer(e.length),
                            Kilograms(e.mass),
                            Integer(e.joints),
                            SquareMetres(e.area),
                            SquareMetres(e.paintedArea),
                            {}});
    return grilles;
}

Section TotalsSection(const estimate::PriceList& prices, const estimate::OrderEstimate& e) {
    const estimate::Costs c = estimate::CostsOf(e, prices);
    Section totals{"Итог", {"Статья", "Значение", "Единица"}, {}};
    const bool planned = e.basis == estimate::MetalBasis::CuttingPlan;
    totals.rows.push_back(
        {Text(planned ? "Металл к оплате (по раскрою)" : "Металл к оплате (с припуском)"),
         Rounded(static_cast<double>(e.paidMass) / 1e12, 2,
                 WithComma(estimate::PaidKilogramText(e.paidMass))),
         Text("кг")});
    const auto add = [&](const char* name, Wide roubles) {
        totals.rows.push_back({Text(name), Money(roubles), Text("₽")});
    };
    add("Металл", c.metal);
    add("Сварка", c.joints);
    add("Решётки", c.area);
    add("Покраска", c.paint);
    add("Наценка", c.markup);
    add("Итого", e.price);
    return totals;
}

} // namespace

Sheet EstimateSheet(const model::Order& built, const estimate::PriceList& prices,
                    const estimate::OrderEstimate& estimate) {
    return {
        "Смета",
        {PricesSection(prices), GrillesSection(built, estimate), TotalsSection(prices, estimate)}};
}

} // namespace sheets
