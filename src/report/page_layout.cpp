#include "page_layout.h"

#include <algorithm>
#include <cmath>

namespace report {
namespace {

// Room for a number of text lines. The point size is taken to four decimal
// places so that the product is exact.
int RowsHeight(long long rows, double fontPoints) {
    const long long pointsE4 = std::llround(fontPoints * 10000);
    const long long heightE4 = std::max(0LL, rows) * LinePitchPerPoint * pointsE4;
    return static_cast<int>(std::lround(static_cast<float>(static_cast<double>(heightE4) / 10000)));
}

} // namespace

int TableHeight(int grilleCount, double fontPoints) {
    // Header, separator and total, plus one line to spare.
    return RowsHeight(static_cast<long long>(grilleCount) + 4, fontPoints);
}

int MaterialsHeight(int tableHeight, int materialLines, double fontPoints) {
    return std::max(2 * tableHeight,
                    RowsHeight(static_cast<long long>(materialLines) + 1, fontPoints));
}

PageLayout LayoutFor(int grilleCount, std::string_view materials, double fontPoints) {
    PageLayout page;
    page.tableHeight = TableHeight(grilleCount, fontPoints);
    page.materialsTop = page.tableTop + page.tableHeight + BoxGap;
    page.materialsHeight = MaterialsHeight(page.tableHeight, LineCount(materials), fontPoints);
    page.height = page.materialsTop + page.materialsHeight + BoxGap;
    return page;
}

int LineCount(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace report
