#include "report_page.h"

#include "widgets/twips.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

struct LegendLine {
    int x1, y1, x2, y2, width;
};

// The schematic of a grille in its opening with its dimension lines.
constexpr LegendLine Lines[] = {
    {840, 2160, 840, 5880, 2},    {960, 2280, 960, 5760, 2},     {1320, 2280, 1320, 5760, 2},
    {1440, 2280, 1440, 5760, 2},  {2280, 2280, 2280, 5760, 2},   {2400, 2280, 2400, 5760, 2},
    {3240, 2280, 3240, 5760, 2},  {3360, 2280, 3360, 5760, 2},   {840, 2280, 3720, 2280, 2},
    {840, 5760, 3720, 5760, 2},   {840, 5880, 3720, 5880, 2},    {840, 2160, 3720, 2160, 2},
    {600, 240, 600, 6120, 1},     {600, 1920, 3720, 1920, 1},    {3720, 2280, 3720, 2160, 1},
    {3720, 5760, 3720, 5880, 1},  {3840, 2160, 3840, 2280, 1},   {3840, 5760, 3840, 5880, 1},
    {3840, 5880, 6480, 5880, 2},  {3840, 2280, 6480, 2280, 2},   {3840, 2160, 6480, 2160, 2},
    {6480, 2160, 6480, 5880, 2},  {3840, 5760, 6480, 5760, 2},   {6360, 2280, 6360, 5760, 2},
    {6000, 2280, 6000, 5760, 2},  {5880, 2280, 5880, 5760, 2},   {5040, 2280, 5040, 5760, 2},
    {4920, 2280, 4920, 5760, 2},  {4080, 2280, 4080, 5760, 2},   {3960, 2280, 3960, 5760, 2},
    {6720, 1920, 6720, 7560, 1},  {600, 6120, 3720, 6120, 1},    {3840, 1920, 10200, 1920, 1},
    {3840, 6120, 10200, 6120, 1}, {960, 6720, 1320, 6720, 1},    {840, 7560, 6480, 7560, 1},
    {7560, 240, 7560, 5880, 1},   {960, 6840, 960, 5760, 1},     {1320, 6840, 1320, 5640, 1},
    {840, 7680, 840, 5880, 1},    {6480, 7680, 6480, 5760, 1},   {7680, 5880, 6480, 5880, 1},
    {7680, 2160, 6480, 2160, 1},  {1365, 2520, 1365, 840, 1},    {2325, 2520, 2325, 1440, 1},
    {1365, 1560, 2325, 1560, 1},  {5925, 2520, 5925, 840, 1},    {1365, 960, 5925, 960, 1},
    {1200, 840, 1560, 1080, 1},   {5760, 840, 6120, 1080, 1},    {840, 6600, 1080, 6840, 1},
    {1200, 6600, 1440, 6840, 1},  {720, 7440, 960, 7680, 1},     {6360, 7440, 6600, 7680, 1},
    {7440, 5760, 7680, 6000, 1},  {1200, 1440, 1560, 1680, 1},   {2160, 1440, 2520, 1680, 1},
    {7440, 2040, 7680, 2280, 1},  {7440, 1800, 7680, 2040, 1},   {7560, 1920, 7560, 2160, 1},
    {7440, 6000, 7680, 6240, 1},  {7560, 6120, 7560, 5880, 1},   {6480, 7560, 6720, 7560, 1},
    {6600, 7440, 6840, 7680, 1},  {600, 360, 7560, 360, 1},      {480, 240, 720, 480, 1},
    {7440, 240, 7680, 480, 1},    {10080, 1920, 10080, 6120, 1}, {9960, 1800, 10200, 2040, 1},
    {9960, 6000, 10200, 6240, 1},
};
static_assert(std::size(Lines) == 70);

struct LegendLabel {
    const char* caption;
    int left, top, width, height;
};

constexpr LegendLabel Labels[] = {
    {"b", 1080, 6480, 120, 240},
    {"B", 3480, 7320, 120, 240},
    {"H", 7440, 3840, 120, 240},
    {"t", 1800, 1320, 120, 240},
    {"t x n", 3480, 720, 600, 240},
    {"Верхний зазор (В.З)", 7680, 1920, 2280, 240},
    {"Нижний зазор (Н.З)", 7680, 5880, 2160, 240},
    {"Боковой зазор (Б.З)", 6840, 7320, 2280, 240},
    {"Ширина проёма (Ш.П)", 2760, 120, 2280, 240},
};
// Too narrow for two letters: its words wrap into a column beside the
// opening's height line.
constexpr LegendLabel HeightLabel = {"В ы с о т а   П р о ё м а  В П", 10080, 2040, 135, 3975};

// Text of a box starts a little inside its left edge, as in a text box.
constexpr double BoxInset = 45;

// "Заказ #12/3" is offered as "Заказ 12_3.pdf" in the documents folder.
QString SuggestedPdfName(const QString& heading) {
    QString name = heading;
    name.remove(QLatin1Char('#'));
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name.trimmed() + QStringLiteral(".pdf"));
}

QStringList SplitLines(const QString& text) {
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    QStringList lines = plain.split(QLatin1Char('\n'));
    // A final line end starts no further line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Draws one line with its tabs expanded in page units. Qt's own tab stops
// are scaled by the device's resolution, which would spread the table on a
// printer or in a PDF file.
void DrawTabbedLine(QPainter& painter, const QFontMetricsF& metrics, double tabStop, double left,
                    double baseline, const QString& line) {
    double x = 0;
    const QStringList pieces = line.split(QLatin1Char('\t'));
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        if (k > 0)
            x = (std::floor(x / tabStop + 1e-9) + 1) * tabStop;
        if (!pieces[k].isEmpty())
            painter.drawText(QPointF(left + x, baseline), pieces[k]);
        x += metrics.horizontalAdvance(pieces[k]);
    }
}

void PaintBox(QPainter& painter, const QString& text, double top, double height, double points,
              const QRectF& visible) {
    const double pitch = LinePitch(points);
    if (pitch <= 0)
        return;
    const QFont font = FontInTwips(BoxFont(points));
    const QFontMetricsF metrics(font);
    const double tabStop = TabStopDistance(font);
    if (!(tabStop > 0))
        return;
    // Each line is centred in its row.
    const double baselineOffset = (pitch - metrics.height()) / 2 + metrics.ascent();
    painter.setFont(font);

    const QStringList lines = SplitLines(text);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const double y = top + static_cast<double>(k) * pitch;
        // Lines below the bottom of the box are not on the page.
        if (y + pitch > top + height)
            break;
        if (y + pitch <= visible.top() || y >= visible.bottom())
            continue;
        DrawTabbedLine(painter, metrics, tabStop, BoxLeft + BoxInset, y + baselineOffset, lines[k]);
    }
}

} // namespace

QFont BoxFont(double points) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    return font;
}

QFont LegendFont() {
    // A fixed-pitch system face; the metric twins stand in where it is missing.
    QFont font;
    font.setFamilies({QStringLiteral("Fixedsys"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    return font;
}

QFont HeadingFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans")});
    font.setWeight(QFont::Black);
    font.setPointSizeF(15.75);
    return font;
}

double TabStopDistance(const QFont& font) {
    return 8 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
}

double LinePitch(double fontPoints) {
    return LinePitchPerPoint * fontPoints;
}

int HeadingLeft(double headingWidth) {
    return std::max(0, HeadingRight - static_cast<int>(std::ceil(headingWidth)));
}

void PaintLegend(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const LegendLine& line : Lines) {
        // A thin line is one screen pixel wide.
        QPen pen(Qt::black, double{TwipsPerPixel} * line.width, Qt::SolidLine, Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QLineF(line.x1, line.y1, line.x2, line.y2));
    }
    painter.setPen(Qt::black);
    painter.setFont(FontInTwips(LegendFont()));
    for (const LegendLabel& label : Labels)
        painter.drawText(QRectF(label.left, label.top, label.width, label.height),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromUtf8(label.caption));
    painter.drawText(
        QRectF(HeightLabel.left, HeightLabel.top, HeightLabel.width, HeightLabel.height),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QString::fromUtf8(HeightLabel.caption));
    painter.restore();
}

void PaintReportPage(QPainter& painter, const ReportPage& page, const QRectF& visible) {
    painter.save();
    painter.fillRect(visible.intersected(QRectF(0, 0, PageWidth, page.layout.height)), Qt::white);
    if (visible.top() < LegendHeight)
        PaintLegend(painter);

    painter.setPen(Qt::black);
    const QFont heading = FontInTwips(HeadingFont());
    painter.setFont(heading);
    const double width = QFontMetricsF(heading).horizontalAdvance(page.heading);
    painter.drawText(QPointF(HeadingLeft(width), HeadingTop + QFontMetricsF(heading).ascent()),
                     page.heading);

    const PageLayout& at = page.layout;
    PaintBox(painter, page.table, at.tableTop, at.tableHeight, page.fontPoints, visible);
    PaintBox(painter, page.materials, at.materialsTop, at.materialsHeight, page.fontPoints,
             visible);
    painter.restore();
}

std::vector<double> PageBreaks(const ReportPage& page) {
    const PageLayout& at = page.layout;
    std::vector<double> breaks{static_cast<double>(at.tableTop)};
    const double pitch = LinePitch(page.fontPoints);
    auto addRows = [&](int top, int height) {
        if (pitch <= 0)
            return;
        for (double y = top + pitch; y <= top + height; y += pitch)
            breaks.push_back(y);
    };
    addRows(at.tableTop, at.tableHeight);
    breaks.push_back(at.materialsTop);
    addRows(at.materialsTop, at.materialsHeight);
    breaks.push_back(at.height);
    std::sort(breaks.begin(), breaks.end());
    return breaks;
}

PrintJob PrintJobOf(const ReportPage& page) {
    PrintJob job;
    job.title = page.heading;
    job.suggestedFileName = SuggestedPdfName(page.heading);
    job.size = QSizeF(PageWidth, page.layout.height);
    job.paint = [page](QPainter& painter, const QRectF& visible) {
        PaintReportPage(painter, page, visible);
    };
    job.breaks = PageBreaks(page);
    return job;
}

} // namespace report
