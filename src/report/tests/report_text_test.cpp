#include "report/report_build.h"
#include "report/report_text.h"

#include "model/errors.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(NumberText, BlankOrMinusBeforeTheShortestFormAndTrimmedWithoutTheBlank) {
    // clang-format off
    const std::pair<double, std::string> reals[] = {
        {0.85, " .85"}, {1.0, " 1"}, {2.0, " 2"}, {1.3 * 1.44, " 1.872"}, {0.0, " 0"}, {-0.0, " 0"},
        {-0.5, "-.5"}, {-5.0, "-5"}, {0.1 + 0.2, " .3"}, {1.0 / 3, " .333333333333333"},
        {123456.789, " 123456.789"}, {3.6, " 3.6"}, {0.0001, " .0001"}, {1e15, " 1E+15"},
        {-2.5e-7, "-2.5E-07"}, {1.0 / 0.0, " Inf"}, {-1.0 / 0.0, "-Inf"}};
    // clang-format on
    for (const auto& [value, padded] : reals) {
        SCOPED_TRACE(padded);
        EXPECT_EQ(report::PaddedReal(value), padded);
        EXPECT_EQ(report::TrimmedReal(value), padded.substr(padded[0] == ' ' ? 1 : 0));
    }
    const std::pair<long long, std::string> integers[] = {
        {1200, " 1200"}, {0, " 0"}, {-5, "-5"}, {-32768, "-32768"}};
    for (const auto& [value, padded] : integers) {
        EXPECT_EQ(report::PaddedInteger(value), padded);
        EXPECT_EQ(report::TrimmedInteger(value), padded.substr(padded[0] == ' ' ? 1 : 0));
    }
}

const model::Opening kOpening = {1200, 1500, 50, 60, 25};
const model::Grille kGrille = {1150, 1390, 164, 6, -5, 14, 0, 0.85};

TEST(ReportTable, RowCellsArePaddedAndListCellsTrimmedInColumnOrder) {
    EXPECT_EQ(report::TableRow(3, kOpening, kGrille),
              " 3\t| 1200\t| 1500\t| 50\t| 60\t| 164\t| 6\t| 1150\t| 1390\t|-5\t| 25\t| .85\r\n");
    const report::ListRow expected = {"3", "1200", "1500", "50", "60", "164",
                                      "6", "1150", "1390", "-5", "25", ".85"};
    EXPECT_EQ(report::ListRowOf(3, kOpening, kGrille), expected);
}

// The text of a block is the two-grille report's; here, its numbers' range.
TEST(MaterialBlock, TheCutListInSixteenBitNumbers) {
    model::Grille many = kGrille;
    many.n = 32764;
    EXPECT_NO_THROW((void)report::MaterialBlock(1, many));
    many.n = 32765;
    EXPECT_THROW((void)report::MaterialBlock(1, many), model::RuntimeError);
    model::Grille low = kGrille;
    low.H = -32768;
    low.q = 1;
    EXPECT_THROW((void)report::MaterialBlock(1, low), model::RuntimeError);
}

TEST(BuildReport, NoGrillesGivesHeaderSeparatorAndZeroTotal) {
    const report::Report r = report::BuildReport(model::Order{}, "");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.materials, "");
    EXPECT_EQ(r.heading, "Заказ #");
    EXPECT_EQ(r.table,
              report::TableHeader() + report::TableSeparator() + "\t\t\t\t\t\t\t\t\t\t\tS =  0");
}

TEST(BuildReport, TwoGrillesAreByteExactAndTheNumberIsKeptAsTyped) {
    model::Order order;
    order.GrilleCount = 2;
    order.OpeningAt(1) = {1000, 1000, 10, 10, 20};
    order.GrilleAt(1) = {960, 980, 164, 5, 10, 14, -1, 0.85};
    order.OpeningAt(2) = {1300, 1440, 0, 0, 0};
    order.GrilleAt(2) = {1300, 1440, 164, 7, 2, 14, 0, 1.3 * 1.44};
    const report::Report r = report::BuildReport(order, "12/3 ");

    EXPECT_EQ(r.heading, "Заказ #12/3 ");
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
    EXPECT_EQ(r.rows[0][11], ".85");
    EXPECT_EQ(r.rows[1][11], "1.872");
}

// Records what a build shows, step by step.
struct Recorder final : report::BuildSteps {
    void Listed(const report::ListRow& row) override { seen.push_back("row " + row[0]); }
    void MaterialsSoFar(const std::string& text, const std::vector<model::CutList>& cuts) override {
        seen.push_back("materials " + text);
        cutLists = cuts.size();
    }
    void Heading(const std::string& text) override { seen.push_back(text); }
    void TableSoFar(const std::string& text) override { seen.push_back("table " + text); }
    void PageMaterialsSoFar(const std::string& text) override { seen.push_back("page " + text); }
    std::vector<std::string> seen;
    std::size_t cutLists = 0;
};

TEST(BuildReport, ShowsEachPieceBeforeAnOverflowStopsIt) {
    model::Order order;
    order.GrilleCount = 2;
    order.GrilleAt(1) = kGrille;
    order.GrilleAt(2) = kGrille;
    const std::string block1 = report::MaterialBlock(1, kGrille);
    const std::string block2 = report::MaterialBlock(2, kGrille);
    Recorder whole;
    const report::Report r = report::BuildReport(order, "5", &whole);
    const std::string head = report::TableHeader();
    const std::string separated = head + report::TableSeparator();
    const std::string row1 = separated + report::TableRow(1, order.OpeningAt(1), kGrille);
    const std::string row2 = row1 + report::TableRow(2, order.OpeningAt(2), kGrille);
    const std::vector<std::string> expected = {"row 1",
                                               "materials " + block1,
                                               "row 2",
                                               "materials " + block1 + block2,
                                               "Заказ #5",
                                               "table " + head,
                                               "table " + separated,
                                               "table " + row1,
                                               "page " + block1,
                                               "table " + row2,
                                               "page " + block1 + block2,
                                               "table " + r.table};
    EXPECT_EQ(whole.seen, expected);
    EXPECT_EQ(r.cuts, std::vector<model::CutList>(2, model::CutListOf(kGrille)));

    // The second grille's cut list overflows: its row was listed, its block
    // never shows, and the page is not started.
    order.GrilleAt(2).n = 32767;
    Recorder stopped;
    EXPECT_THROW(report::BuildReport(order, "5", &stopped), model::RuntimeError);
    const std::vector<std::string> before = {"row 1", "materials " + block1, "row 2"};
    EXPECT_EQ(stopped.seen, before);
    EXPECT_EQ(stopped.cutLists, 1u); // the cut lists shown are those of the blocks shown
}

TEST(PageLayout, BoxesGrowWithTheOrder) {
    struct Row {
        int grilles;
        int materialLines;
        report::PageLayout page;
    };
    // Nine points make 270 twips a line; the cut lists get twice the table's
    // height unless their own lines need more.
    const Row rows[] = {
        {0, 0, {7800, 1080, 9030, 2160, 11340}},
        {2, 6, {7800, 1620, 9570, 3240, 12960}},
        {60, 180, {7800, 17280, 25230, 48870, 74250}},
    };
    for (const Row& row : rows) {
        const std::string materials(static_cast<std::size_t>(row.materialLines), '\n');
        EXPECT_EQ(report::LayoutFor(row.grilles, materials, 9), row.page) << row.grilles;
    }
    EXPECT_EQ(report::TableHeight(1, 15.75), 2363); // rounded for a fractional font
}

} // namespace
