// The workbook and the CSV files read back by real readers (openpyxl and
// Python's csv module), not by the code that wrote them: every value of a
// full order with its plan and estimate, and the sums a spreadsheet makes.

#include "workshop_order.h"

#include "sheets/csv_text.h"
#include "sheets/estimate_sheet.h"
#include "sheets/order_sheets.h"
#include "sheets/plan_sheet.h"
#include "sheets/workbook_file.h"
#include "testsupport/temp_folder.h"

#include "estimate/estimate_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using sheets::Cell;
using Rows = std::vector<std::vector<std::string>>;

// What the reader printed, a line a row, split at tabs.
Rows ReadBack(const char* kind, const std::string& file) {
    const std::string command = std::string(READ_BACK) + " " + kind + " '" + file + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(pipe ? ::pclose(pipe) : -1, 0) << command;
    Rows rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string>& row = rows.emplace_back();
        for (size_t start = 0; !line.empty();) {
            const size_t tab = line.find('\t', start);
            row.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
    }
    return rows;
}

std::string Digits(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// The rows a sheet is to read back as: titles, headers and cells, with a
// blank row between sections.
Rows Expected(const sheets::Sheet& sheet, bool workbook) {
    Rows rows;
    const auto text = [&](const std::string& s) { return workbook ? "s:" + s : s; };
    for (const sheets::Section& section : sheet.sections) {
        if (!rows.empty() || (!workbook && &section != &sheet.sections.front()))
            rows.emplace_back();
        if (!section.title.empty())
            rows.push_back({text(section.title)});
        std::vector<std::string>& header = rows.emplace_back();
        for (const std::string& h : section.header)
            header.push_back(text(h));
        for (const auto& cells : section.rows) {
            std::vector<std::string>& row = rows.emplace_back();
            for (const Cell& c : cells)
                row.push_back(!workbook || c.kind == Cell::Kind::Text ? text(c.text)
                              : c.kind == Cell::Kind::Empty           ? std::string()
                                                                      : "n:" + Digits(c.value));
            while (workbook && !row.empty() && row.back().empty())
                row.pop_back();
        }
    }
    return rows;
}

// Numbers compared as numbers: the reader prints them in its own way.
void ExpectSameRows(const Rows& read, const Rows& expected, const std::string& sheet) {
    ASSERT_EQ(read.size(), expected.size()) << sheet;
    for (size_t r = 0; r < read.size(); ++r) {
        ASSERT_EQ(read[r].size(), expected[r].size()) << sheet << " row " << r;
        for (size_t c = 0; c < read[r].size(); ++c) {
            const std::string& got = read[r][c];
            const std::string& want = expected[r][c];
            if (got.rfind("n:", 0) == 0 && want.rfind("n:", 0) == 0)
                EXPECT_NEAR(std::stod(got.substr(2)), std::stod(want.substr(2)),
                            1e-9 * std::fabs(std::stod(want.substr(2))) + 1e-12)
                    << sheet << " row " << r << " column " << c;
            else
                EXPECT_EQ(got, want) << sheet << " row " << r << " column " << c;
        }
    }
}

double Number(const std::string& cell) {
    return cell.rfind("n:", 0) == 0 ? std::stod(cell.substr(2)) : 0;
}

// The sum of column `column` from row `first` to the row before `end`.
double ColumnSum(const Rows& rows, size_t first, size_t end, size_t column) {
    double sum = 0;
    for (size_t r = first; r < end; ++r)
        sum += column < rows[r].size() ? Number(rows[r][column]) : 0;
    return sum;
}

} // namespace

TEST(ReadBack, WorkbookOfAFullOrderHoldsEveryValueAndSumsToTheProgramsTotals) {
    const WorkshopOrder w;
    const std::vector<sheets::Sheet> book = {sheets::GrillesSheet(w.order),
                                             sheets::CutsSheet(w.order),
                                             sheets::PlanSheet(w.plan, w.settings),
                                             sheets::EstimateSheet(w.order, w.prices, w.estimate)};
    TempFolder folder("sheets");
    const std::string file = folder.File("Заказ 17.xlsx");
    ASSERT_EQ(sheets::WriteWorkbook(file, book), "");

    const Rows read = ReadBack("xlsx", file);
    size_t at = 0;
    std::vector<Rows> sheets;
    for (const sheets::Sheet& sheet : book) {
        ASSERT_LT(at + 1, read.size());
        EXPECT_EQ(read[at], std::vector<std::string>{"= " + sheet.name});
        EXPECT_EQ(read[at + 1], std::vector<std::string>{"@ A2"}); // the header frozen
        size_t end = at + 2;
        while (end < read.size() && read[end].size() == 1 && read[end][0].rfind("= ", 0) != 0)
            ++end;
        while (end < read.size() && (read[end].empty() || read[end][0].rfind("= ", 0) != 0))
            ++end;
        sheets.emplace_back(read.begin() + static_cast<long>(at) + 2,
                            read.begin() + static_cast<long>(end));
        ExpectSameRows(sheets.back(), Expected(sheet, true), sheet.name);
        at = end;
    }
    ASSERT_EQ(sheets.size(), 4u);

    // A spreadsheet's sums: the area of the grilles, the estimate's mass and
    // area, and its price by kind.
    double area = 0;
    for (int i = 1; i <= 60; ++i)
        area += w.order.GrilleAt(i).S;
    EXPECT_NEAR(ColumnSum(sheets[0], 1, 61, 11), area, 1e-9);
    const Rows& estimate = sheets[3];
    const size_t grilles = 1 + 6 + 1 + 2; // header, six prices, blank, title, header
    char mass[32];
    std::snprintf(mass, sizeof mass, "%.2f", ColumnSum(estimate, grilles, grilles + 60, 4));
    EXPECT_EQ(mass, estimate::KilogramText(w.estimate.mass));
    EXPECT_NEAR(ColumnSum(estimate, grilles, grilles + 60, 6),
                static_cast<double>(w.estimate.area) / 1e6, 1e-9);
    const size_t costs = grilles + 61 + 2 + 1 + 1; // rows, blank, title, header, paid metal
    EXPECT_EQ(ColumnSum(estimate, costs, costs + 5, 1), static_cast<double>(w.estimate.price));
    EXPECT_EQ(Number(estimate[costs + 5][1]), static_cast<double>(w.estimate.price));
}

TEST(ReadBack, CsvOpensWithCyrillicIntactAndEveryField) {
    const WorkshopOrder w;
    TempFolder folder("sheets");
    for (const sheets::Sheet& sheet :
         {sheets::CutsSheet(w.order), sheets::EstimateSheet(w.order, w.prices, w.estimate)}) {
        const std::string file = folder.File(sheet.name + ".csv");
        std::ofstream(file, std::ios::binary) << sheets::CsvText(sheet);
        ExpectSameRows(ReadBack("csv", file), Expected(sheet, false), sheet.name);
    }
}
