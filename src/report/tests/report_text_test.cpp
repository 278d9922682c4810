#include "report/report_text.h"

#include "model/errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using report::PaddedInteger;
using report::PaddedReal;

struct RealCase {
    double value;
    const char* padded;
    const char* trimmed;
};

class RealText : public testing::TestWithParam<RealCase> {};

TEST_P(RealText, PaddedAndTrimmed) {
    EXPECT_EQ(PaddedReal(GetParam().value), GetParam().padded);
    EXPECT_EQ(report::TrimmedReal(GetParam().value), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, RealText,
    testing::Values(RealCase{0.85, " .85", ".85"}, RealCase{2.0, " 2", "2"},
                    RealCase{1.3 * 1.44, " 1.872", "1.872"}, RealCase{0.0, " 0", "0"},
                    RealCase{-0.0, " 0", "0"}, RealCase{-0.5, "-.5", "-.5"},
                    RealCase{-5.0, "-5", "-5"}, RealCase{0.1 + 0.2, " .3", ".3"},
                    RealCase{1.0 / 3, " .333333333333333", ".333333333333333"},
                    RealCase{123456.789, " 123456.789", "123456.789"}, RealCase{3.6, " 3.6", "3.6"},
                    RealCase{0.0001, " .0001", ".0001"}, RealCase{1e15, " 1E+15", "1E+15"},
                    RealCase{-2.5e-7, "-2.5E-07", "-2.5E-07"}, RealCase{1.0 / 0.0, " Inf", "Inf"},
                    RealCase{-1.0 / 0.0, "-Inf", "-Inf"}));

TEST(IntegerText, BlankBeforeZeroAndPositiveMinusBeforeNegative) {
    EXPECT_EQ(PaddedInteger(1200), " 1200");
    EXPECT_EQ(PaddedInteger(0), " 0");
    EXPECT_EQ(PaddedInteger(-5), "-5");
    EXPECT_EQ(PaddedInteger(-32768), "-32768");
    EXPECT_EQ(report::TrimmedInteger(1200), "1200");
    EXPECT_EQ(report::TrimmedInteger(-5), "-5");
}

model::Opening SampleOpening() {
    return {1200, 1500, 50, 60, 25};
}

model::Grille SampleGrille() {
    model::Grille g;
    g.B = 1150;
    g.H = 1390;
    g.t = 164;
    g.n = 6;
    g.b = -5;
    g.q = 14;
    g.S = 0.85;
    return g;
}

TEST(ReportTable, HeaderAndSeparatorAreExact) {
    EXPECT_EQ(report::TableHeader(),
              " N\t| Ш.П\t| В.П\t| В.З\t| Н.З\t| t\t| n\t| B\t| H\t| b\t| Б.З\t| S\r\n");
    const std::string separator = report::TableSeparator();
    EXPECT_EQ(separator, "--------+-------+-------+-------+-------+-------+-------+-------+-------+"
                         "-------+-------+-----------\r\n");
    EXPECT_EQ(separator.size(), 102u);
}

TEST(ReportTable, RowFollowsTheHeaderWithPaddedCells) {
    EXPECT_EQ(report::TableRow(3, SampleOpening(), SampleGrille()),
              " 3\t| 1200\t| 1500\t| 50\t| 60\t| 164\t| 6\t| 1150\t| 1390\t|-5\t| 25\t| .85\r\n");
}

TEST(ReportTable, TotalLineHasElevenTabsAndNoLineEnd) {
    EXPECT_EQ(report::TableTotal(0), "\t\t\t\t\t\t\t\t\t\t\tS =  0");
    EXPECT_EQ(report::TableTotal(3.6), "\t\t\t\t\t\t\t\t\t\t\tS =  3.6");
}

TEST(ReportList, CellsAreTrimmedInColumnOrder) {
    const report::ListRow row = report::ListRowOf(3, SampleOpening(), SampleGrille());
    const report::ListRow expected = {"3", "1200", "1500", "50", "60", "164",
                                      "6", "1150", "1390", "-5", "25", ".85"};
    EXPECT_EQ(row, expected);
}

struct BeltCase {
    const char* name;
    model::int16 doubleBelt;
    const char* block;
};

class MaterialBlock : public testing::TestWithParam<BeltCase> {};

TEST_P(MaterialBlock, CountsAndLengthsFollowTheBeltMark) {
    model::Grille g = SampleGrille();
    g.DoubleBelt = GetParam().doubleBelt;
    EXPECT_EQ(report::MaterialBlock(7, g), GetParam().block);
}

INSTANTIATE_TEST_SUITE_P(Belts, MaterialBlock,
                         testing::Values(BeltCase{"Double", -1,
                                                  "--- Решетка № 7 ---------------\r\n"
                                                  "\tДлина = 1150 мм. Количество = 4\r\n"
                                                  "\tДлина = 1390 мм. Количество = 9\r\n"},
                                         BeltCase{"Single", 0,
                                                  "--- Решетка № 7 ---------------\r\n"
                                                  "\tДлина = 1150 мм. Количество = 2\r\n"
                                                  "\tДлина = 1376 мм. Количество = 9\r\n"},
                                         BeltCase{"OtherFlagIsSingle", 1,
                                                  "--- Решетка № 7 ---------------\r\n"
                                                  "\tДлина = 1150 мм. Количество = 2\r\n"
                                                  "\tДлина = 1376 мм. Количество = 9\r\n"}),
                         [](const testing::TestParamInfo<BeltCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(MaterialBlockLimits, NoStepsStillThreeBars) {
    model::Grille g = SampleGrille();
    g.n = 0;
    EXPECT_NE(report::MaterialBlock(1, g).find("Количество = 3\r\n"), std::string::npos);
}

TEST(MaterialBlockLimits, SixteenBitOverflowIsARunTimeError) {
    model::Grille many = SampleGrille();
    many.n = 32766;
    try {
        (void)report::MaterialBlock(1, many);
        FAIL() << "no overflow for n + 3";
    } catch (const model::RuntimeError& e) {
        EXPECT_EQ(e.kind(), model::ErrorKind::Overflow);
    }
    model::Grille low = SampleGrille();
    low.H = -32768;
    low.q = 1;
    EXPECT_THROW((void)report::MaterialBlock(1, low), model::RuntimeError);
    low.DoubleBelt = -1; // no subtraction with a double belt
    EXPECT_NO_THROW((void)report::MaterialBlock(1, low));
}

TEST(OrderHeading, NumberFollowsTheHashDirectly) {
    EXPECT_EQ(report::OrderHeading(""), "Заказ #");
    EXPECT_EQ(report::OrderHeading("12/3 "), "Заказ #12/3 ");
}

TEST(BuildReport, NoGrillesGivesHeaderSeparatorAndZeroTotal) {
    model::Order order;
    const report::Report r = report::BuildReport(order, "");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.materials, "");
    EXPECT_EQ(r.heading, "Заказ #");
    EXPECT_EQ(r.table,
              report::TableHeader() + report::TableSeparator() + "\t\t\t\t\t\t\t\t\t\t\tS =  0");
    EXPECT_EQ(report::TableHeight(0, 9), 1080);
}

TEST(BuildReport, TwoGrillesAreByteExact) {
    model::Order order;
    order.GrilleCount = 2;
    order.OpeningAt(1) = {1000, 1000, 10, 10, 20};
    order.GrilleAt(1) = {960, 980, 164, 5, 10, 14, -1, 0.85};
    order.OpeningAt(2) = {1300, 1440, 0, 0, 0};
    order.GrilleAt(2) = {1300, 1440, 164, 7, 2, 14, 0, 1.3 * 1.44};
    const report::Report r = report::BuildReport(order, "42");

    EXPECT_EQ(r.heading, "Заказ #42");
    EXPECT_EQ(r.table,
              " N\t| Ш.П\t| В.П\t| В.З\t| Н.З\t| t\t| n\t| B\t| H\t| b\t| Б.З\t| S\r\n"
              "--------+-------+-------+-------+-------+-------+-------+-------+-------+-------+"
              "-------+-----------\r\n"
              " 1\t| 1000\t| 1000\t| 10\t| 10\t| 164\t| 5\t| 960\t| 980\t| 10\t| 20\t| .85\r\n"
              " 2\t| 1300\t| 1440\t| 0\t| 0\t| 164\t| 7\t| 1300\t| 1440\t| 2\t| 0\t| 1.872\r\n"
              "\t\t\t\t\t\t\t\t\t\t\tS =  2.722");
    EXPECT_EQ(r.materials, "--- Решетка № 1 ---------------\r\n"
                           "\tДлина = 960 мм. Количество = 4\r\n"
                           "\tДлина = 980 мм. Количество = 8\r\n"
                           "--- Решетка № 2 ---------------\r\n"
                           "\tДлина = 1300 мм. Количество = 2\r\n"
                           "\tДлина = 1426 мм. Количество = 10\r\n");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1][11], "1.872");
    EXPECT_EQ(r.rows[0][11], ".85");
}

TEST(BuildReport, SixtyGrillesGiveSixtyThreeLines) {
    model::Order order;
    order.GrilleCount = 60;
    for (int i = 1; i <= 60; ++i)
        order.GrilleAt(i) = {1000, 1000, 164, 5, 10, 14, 0, 1};
    const report::Report r = report::BuildReport(order, "7");
    EXPECT_EQ(r.rows.size(), 60u);
    // 62 line ends: the total line has none.
    EXPECT_EQ(report::LineCount(r.table), 62);
    EXPECT_EQ(r.table.substr(r.table.size() - 7), "S =  60");
    EXPECT_EQ(report::LineCount(r.materials), 180);
    EXPECT_EQ(report::TableHeight(60, 9), 17280);
}

TEST(PageHeights, CutListsGetTwiceTheTableOrTheRoomTheyNeed) {
    // Few grilles: twice the table box, as laid out.
    EXPECT_EQ(report::MaterialsHeight(report::TableHeight(2, 9), 6, 9), 2 * 6 * 270);
    // Many grilles: three lines each would not fit in twice the table box.
    EXPECT_EQ(report::MaterialsHeight(report::TableHeight(60, 9), 180, 9), 181 * 270);
    EXPECT_EQ(report::TableHeight(1, 15.75), 2363);
}

} // namespace
