#pragma once

// The printed report page: order heading, legend drawing, report table and
// cut lists. It paints itself in twips into any painter (a window, a PDF
// file, a printer), so the page looks the same at every scale.

#include "printing/page_printer.h"
#include "report/page_layout.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace report {

// What the page shows.
struct ReportPage {
    QString heading;
    // The texts as built; CR LF and LF line ends are both understood.
    QString table;
    QString materials;
    double fontPoints = BoxFontPoints;
    PageLayout layout;
};

// Fonts of the page, in points.
QFont BoxFont(double points);
QFont LegendFont();
QFont HeadingFont();

// Tab stops every 8 character cells of a fixed-pitch font.
double TabStopDistance(const QFont& font);

// Distance between two text lines of a box, in twips.
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

// The page as a print job: the document named after the heading, the
// sheets ending between lines of text.
PrintJob PrintJobOf(const ReportPage& page);

} // namespace report
