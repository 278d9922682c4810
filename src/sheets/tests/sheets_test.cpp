// The sheets hold the program's own figures, each in its column, and CSV
// writes numbers and texts as a Russian-locale spreadsheet reads them.

#include "workshop_order.h"

#include "sheets/csv_text.h"
#include "sheets/estimate_sheet.h"
#include "sheets/order_sheets.h"
#include "sheets/plan_sheet.h"

#include <gtest/gtest.h>

namespace {

using sheets::Cell;

std::vector<double> Values(const std::vector<Cell>& row) {
    std::vector<double> values;
    for (const Cell& cell : row)
        values.push_back(cell.value);
    return values;
}

const WorkshopOrder& Workshop() {
    static const WorkshopOrder workshop;
    return workshop;
}

} // namespace

TEST(Sheets, GrillesHoldTheReportColumnsAndItsTotalArea) {
    const model::Order& order = Workshop().order;
    const sheets::Section grilles = sheets::GrillesSheet(order).sections.at(0);
    ASSERT_EQ(grilles.rows.size(), 61u);
    double total = 0;
    for (int i = 1; i <= 60; ++i) {
        const model::Opening& o = order.OpeningAt(i);
        const model::Grille& g = order.GrilleAt(i);
        const std::vector<double> expected = {
            double(i),           double(o.Width), double(o.Height),  double(o.TopGap),
            double(o.BottomGap), double(g.t),     double(g.n),       double(g.B),
            double(g.H),         double(g.b),     double(o.SideGap), g.S};
        EXPECT_EQ(Values(grilles.rows[static_cast<size_t>(i) - 1]), expected) << "grille " << i;
        total += g.S;
    }
    EXPECT_EQ(grilles.rows.back().front().text, "Итого");
    EXPECT_EQ(grilles.rows.back().back().value, total);
}

TEST(Sheets, CutsListEveryPieceOfThePlanWithTotals) {
    const auto pieces = cutting::OrderCutList(Workshop().order);
    const sheets::Section cuts = sheets::CutsSheet(Workshop().order).sections.at(0);
    ASSERT_EQ(cuts.rows.size(), pieces.size() + 1);
    long long count = 0, length = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        const cutting::CutItem& p = pieces[k];
        EXPECT_EQ(Values(cuts.rows[k]),
                  (std::vector<double>{double(p.grille), 0, double(p.length), double(p.count),
                                       double(p.length) * p.count}));
        EXPECT_EQ(cuts.rows[k][1].text, cutting::KindName(p.kind));
        count += p.count;
        length += static_cast<long long>(p.length) * p.count;
    }
    EXPECT_EQ(cuts.rows.back()[3].value, double(count));
    EXPECT_EQ(cuts.rows.back()[4].value, double(length));
}

TEST(Sheets, PlanShowsPatternsPurchasesLeftoversAndItsStatus) {
    cutting::Pattern pattern{{1500, 1500, 1000}, 2, 740, {}, 6000, false};
    pattern.bars = {{{3, cutting::PieceKind::Vertical, 1500}, {1, {}, 1500}, {3, {}, 1000}},
                    {{2, {}, 1500}, {2, {}, 1500}, {2, {}, 1000}}};
    cutting::Plan plan;
    plan.patterns = {pattern};
    plan.bars = 2;
    plan.boughtLength = 12000;
    plan.lowerBoundLength = 6000;
    plan.purchases = {{6000, 2}};
    plan.keep = {{740, 2}};
    const sheets::Sheet sheet = sheets::PlanSheet(plan, {.minUseful = 500});
    const auto& row = sheet.sections.at(0).rows.at(0);
    EXPECT_EQ(row[3].text, "1500 × 2 + 1000");
    EXPECT_EQ(row[5].text, "в запас");
    EXPECT_EQ(row[6].text, "1, 2, 3");
    EXPECT_EQ(sheets::LeftoverText(499, 500), "в отход");
    EXPECT_EQ(sheets::LeftoverText(0, 500), "");
    EXPECT_EQ(sheet.sections.at(1).rows.back()[2].value, 12000);
    EXPECT_EQ(sheet.sections.at(2).rows.at(0)[2].text, "в запас");
    const auto& figures = sheet.sections.at(3).rows;
    EXPECT_EQ(figures.at(figures.size() - 2)[1].value, 6000); // the gap to the bound
    EXPECT_EQ(figures.back()[1].text, "не доказано");
}

TEST(Sheets, CsvWritesNumbersWithADecimalCommaAndQuotesWhereNeeded) {
    const sheets::Sheet sheet{
        "Лист",
        {{{}, {"Длина; мм", "Масса"}, {{sheets::Integer(-5), sheets::Fixed(1250, 2)}}},
         {"Итог",
          {"S"},
          {{sheets::Exact(1'200'000, 6)}, {sheets::Real(0.85)}, {sheets::Text("«1\"»")}}}}};
    EXPECT_EQ(sheets::CsvText(sheet), "\xEF\xBB\xBF\"Длина; мм\";Масса\r\n-5;12,50\r\n"
                                      "\r\nИтог\r\nS\r\n1,2\r\n0,85\r\n\"«1\"\"»\"\r\n");
}
