#include "estimate/estimate.h"
#include "estimate/estimate_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using estimate::PriceList;
using model::int16;

// Four belts of 100 mm and four uprights of 150 mm: one metre of bar.
model::Grille MetreOf(int16 q) {
    return {100, 150, 164, 1, 0, q, model::True16, 0.015};
}

model::Order OrderOf(const model::Grille& grille, int count = 1) {
    model::Order order;
    order.GrilleCount = static_cast<int16>(count);
    for (int i = 1; i <= count; ++i)
        order.GrilleAt(i) = grille;
    return order;
}

estimate::OrderEstimate Estimated(const model::Order& order, const PriceList& prices = {},
                                  std::optional<estimate::BoughtMetal> bought = std::nullopt) {
    const estimate::Result result = estimate::EstimateOrder(order, prices, bought);
    EXPECT_EQ(result.error, "");
    return result.estimate;
}

TEST(Estimate, AMetreOfBarWeighsItsSizeSquaredTimesSteelDensity) {
    const std::pair<int16, long long> rows[] = {
        {10, 78500000}, {12, 113040000}, {14, 153860000}, {16, 200960000}};
    for (const auto& [q, mass] : rows)
        EXPECT_EQ(Estimated(OrderOf(MetreOf(q))).mass, mass) << q;
}

TEST(Estimate, JointsAreUprightsTimesBelts) {
    const std::pair<int16, long long> rows[] = {{model::False16, 16}, {model::True16, 32}};
    for (const auto& [belt, joints] : rows)
        EXPECT_EQ(Estimated(OrderOf({1000, 1200, 164, 5, 0, 14, belt, 1.2})).joints, joints);
}

TEST(Estimate, PriceIsRoundedHalfUpToRoublesOnceForTheWholeOrder) {
    struct Row {
        long long perJoint;
        int markup;
        int grilles;
        long long roubles;
    };
    // A grille of three uprights on a single belt has six joints.
    const Row rows[] = {
        {25, 0, 1, 2}, {24, 0, 1, 1}, {50, 5000, 1, 5}, {49, 5000, 1, 4}, {25, 0, 2, 3}};
    for (const Row& row : rows) {
        PriceList prices;
        prices.perJoint = row.perJoint;
        prices.markup = row.markup;
        const auto order = OrderOf({500, 600, 164, 0, 0, 14, model::False16, 0.3}, row.grilles);
        EXPECT_EQ(Estimated(order, prices).price, row.roubles) << row.perJoint;
    }
}

TEST(Estimate, MetalIsPaidOnThePiecesPlusAllowanceOrOnTheBarsThePlanBuys) {
    PriceList prices;
    prices.metalPerKg = 10000;
    const auto allowance = Estimated(OrderOf(MetreOf(14)), prices);
    const auto plan = Estimated(OrderOf(MetreOf(14)), prices, estimate::BoughtMetal{6000, 14});
    // 1.5386 kg + 5 % at 100 ₽, and six metres at 100 ₽.
    EXPECT_EQ(allowance.basis, estimate::MetalBasis::Allowance);
    EXPECT_EQ(allowance.price, 162);
    EXPECT_EQ(plan.basis, estimate::MetalBasis::CuttingPlan);
    EXPECT_EQ(plan.price, 923);
}

TEST(Estimate, AreaAndPaintArePricedPerSquareMetre) {
    PriceList prices;
    prices.perArea = 100000;
    prices.paintPerArea = 50000;
    // .015 m² at 1000 ₽ and 4 × 14 mm × 1 m = .056 m² at 500 ₽.
    EXPECT_EQ(Estimated(OrderOf(MetreOf(14)), prices).price, 43);
}

TEST(Estimate, CostsByKindAreEachRoundedAndTheMarkupTakesTheRest) {
    // 1.61553 kg at 100 ₽, 16 joints at 1 ₽, 15 ₽ of area and 28 ₽ of paint,
    // 220.553 ₽ in all; 10 % on top makes 242.6083 ₽.
    const PriceList prices{10000, 100, 100000, 50000, 500, 1000};
    const auto e = Estimated(OrderOf(MetreOf(14)), prices);
    const estimate::Costs c = estimate::CostsOf(e, prices);
    EXPECT_EQ(e.price, 243);
    const estimate::Wide parts[] = {c.metal, c.joints, c.area, c.paint, c.markup};
    const estimate::Wide expected[] = {162, 16, 15, 28, 22};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(parts[k], expected[k]) << k;
}

TEST(Estimate, TheLargestOrderAtTheHighestPricesDoesNotOverflow) {
    const PriceList most{1000000000, 1000000000, 1000000000, 1000000000, 100000, 100000};
    const auto order =
        OrderOf({32767, 32767, 164, 32767, 0, 32767, model::True16, 1073.676289}, 60);
    EXPECT_EQ(estimate::MoneyText(Estimated(order, most).price),
              "657\u00A0122\u00A0571\u00A0141\u00A0269\u00A0053\u00A0073\u00A0220\u00A0₽");
}

TEST(Estimate, OrderTotalsAddUpTheGrilles) {
    EXPECT_EQ(Estimated(OrderOf(MetreOf(14), 3)).length, 3000);
}

struct Case {
    model::Order order = OrderOf(MetreOf(14));
    PriceList prices;
    std::optional<estimate::BoughtMetal> bought;
};

TEST(Estimate, RefusesWhatNoSizingMakesWithTheReason) {
    const std::pair<std::function<void(Case&)>, std::string> rows[] = {
        {[](Case& c) { c.order.GrilleCount = 0; },
         "В заказе нет ни одной рассчитанной решетки: считать нечего."},
        {[](Case& c) { c.order.GrilleAt(1).q = 0; },
         "Решетка №1: размер прутка 0 мм — должен быть положительным."},
        {[](Case& c) { c.order.GrilleAt(1) = {100, 150, 164, 1, 0, 150, model::False16, 0.015}; },
         "Решетка №1: длина прутка 0 мм — решетка рассчитана по нулевому или отрицательному "
         "проёму."},
        {[](Case& c) { c.order.GrilleAt(1).n = -3; },
         "Решетка №1: число стоек 0 — должно быть положительным."},
        {[](Case& c) { c.order.GrilleAt(1).S = -0.5; },
         "Решетка №1: площадь S должна быть от 0 до 1073.676289 м²."},
        {[](Case& c) { c.prices.markup = -1; }, "Наценка: введите число от 0 до 1000"},
        {[](Case& c) {
             c.bought = estimate::BoughtMetal{-1, 14};
         },
         "Раскрой: длина покупаемых прутков -1 мм — должна быть от 0 до 10 000 000 000 мм."},
        {[](Case& c) {
             c.bought = estimate::BoughtMetal{6000, 0};
         },
         "Раскрой: размер прутка 0 мм — должен быть от 1 до 32767 мм."},
    };
    for (const auto& [spoil, message] : rows) {
        Case c;
        spoil(c);
        EXPECT_EQ(estimate::EstimateOrder(c.order, c.prices, c.bought).error, message);
    }
}

TEST(EstimateText, FiguresAreWrittenAsTheReportWritesThem) {
    const std::pair<std::string, std::string> rows[] = {
        {estimate::MoneyText(0), "0\u00A0₽"},
        {estimate::MoneyText(999), "999\u00A0₽"},
        {estimate::MoneyText(12345), "12\u00A0345\u00A0₽"},
        {estimate::MoneyText(1234567), "1\u00A0234\u00A0567\u00A0₽"},
        {estimate::KilogramText(78500000), "0.79"},
        {estimate::KilogramText(153860000), "1.54"},
        {estimate::KilogramText(150000000), "1.50"},
        {estimate::KilogramText(200000000), "2.00"},
        {estimate::PaidKilogramText(1615530000000), "1.62"},
        {estimate::SquareMetreText(1872000), "1.872"},
        {estimate::MetreText(1005), "1.005"},
        {estimate::FieldText(5), ".05"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(text, expected);
}

} // namespace
