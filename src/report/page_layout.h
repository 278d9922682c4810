#pragma once

// Where things stand on the printed report page, in twips (1440 to the inch)
// from its top left corner. The legend drawing fills the band above the
// table; the table and the cut lists are text boxes whose heights follow the
// order.

#include <string_view>

namespace report {

inline constexpr int PageWidth = 11445;
inline constexpr int LegendHeight = 7800;
inline constexpr int BoxLeft = 120;
inline constexpr int BoxWidth = 11295;
// The heading grows to the left from here, so a long order number stays on
// the page.
inline constexpr int HeadingRight = 11265;
inline constexpr int HeadingTop = 120;
// Gap between the table box and the cut lists, and below the cut lists.
inline constexpr int BoxGap = 150;
// Both boxes are set in a 9-point fixed-pitch face.
inline constexpr double BoxFontPoints = 9;
// A text line of a box takes 30 twips per point of its font.
inline constexpr int LinePitchPerPoint = 30;

struct PageLayout {
    int tableTop = LegendHeight;
    int tableHeight = 4935;
    int materialsTop = 12840;
    int materialsHeight = 6375;
    int height = 110520; // of the whole page

    friend bool operator==(const PageLayout&, const PageLayout&) = default;
};

// The table box gets room for its lines plus one; the cut lists get twice
// the table's height, or more when their lines need it, so that none falls
// off the page.
int TableHeight(int grilleCount, double fontPoints);
int MaterialsHeight(int tableHeight, int materialLines, double fontPoints);
// The page after a build of `grilleCount` grilles whose cut lists are
// `materials`.
PageLayout LayoutFor(int grilleCount, std::string_view materials, double fontPoints);

// Number of line ends in a text.
int LineCount(std::string_view text);

} // namespace report
