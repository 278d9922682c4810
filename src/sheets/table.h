#pragma once

// An order's figures laid out as spreadsheet tables, toolkit-free: a sheet is
// a name and sections one below the other, each a header row and rows of
// cells. Numbers stay numbers, so a spreadsheet sums them; each also carries
// the text a CSV file writes for it, with a decimal comma as Russian-locale
// spreadsheet programs read it.

#include <string>
#include <vector>

namespace sheets {

struct Cell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    // The text; for a number, its CSV form ("12,50").
    std::string text;
    double value = 0;
    // Decimals a number is shown with; -1 for as many as it has.
    int decimals = -1;
};

// An empty text is an empty cell.
Cell Text(std::string text);
Cell Integer(long long value);
// units / 10^decimals with every decimal shown: kopecks as "12,50".
Cell Fixed(long long units, int decimals);
// units / 10^decimals with no trailing zeros: mm² as m², "1,2".
Cell Exact(long long units, int decimals);
// A real as the report writes it, to 15 significant digits.
Cell Real(double value);
// A value shown to `decimals` places whose CSV text is given rounded the
// same way: the spreadsheet keeps every digit, so a column of masses sums to
// the order's mass and not to the sum of the rounded masses.
Cell Rounded(double value, int decimals, std::string text);

struct Section {
    std::string title; // a line above the header; none for the first section
    std::vector<std::string> header;
    std::vector<std::vector<Cell>> rows;
};

struct Sheet {
    std::string name;
    std::vector<Section> sections;
};

// The text of units / 10^decimals with a decimal comma, every decimal kept.
std::string DecimalText(long long units, int decimals);

} // namespace sheets
