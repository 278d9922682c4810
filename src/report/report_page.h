#pragma once

// The printed report page: order heading, legend drawing, report table and
// cut lists. It paints itself in twips into any painter (a window, a PDF
// file, a printer), so the page looks the same at every scale.

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

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

struct ReportPage {
    QString heading;
    // The texts as built; CR LF and LF line ends are both understood.
    QString table;
    QString materials;
    double fontPoints = 9;
    int tableTop = LegendHeight;
    int tableHeight = 4935;
    int materialsTop = 12840;
    int materialsHeight = 6375;
    int height = 110520;
};

// Fonts of the page for widgets (in points) ...
QFont BoxFont(double points);
QFont LegendFont();
QFont HeadingFont();
// ... and the same faces sized for a painter that works in twips.
QFont InTwips(const QFont& font);

// Tab stops every 8 character cells of a fixed-pitch font.
double TabStopDistance(const QFont& font);

// Distance between two text lines of a box, in twips: 30 per point.
double LinePitch(double fontPoints);

// Left edge of the heading, in twips, for a heading of the given width.
int HeadingLeft(double headingWidth);

// Paints the part of the page inside `visible` (twips); the painter's
// coordinates are twips from the page's top left corner.
void PaintReportPage(QPainter& painter, const ReportPage& page, const QRectF& visible);
// Only the legend drawing, for the page window itself.
void PaintLegend(QPainter& painter);

// Heights (twips) at which a sheet may end without cutting through the
// drawing or a line of text, ascending.
std::vector<double> PageBreaks(const ReportPage& page);

} // namespace report
