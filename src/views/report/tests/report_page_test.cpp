#include "printing/page_printer.h"
#include "report/report_build.h"
#include "testsupport/order_fixtures.h"
#include "testsupport/ui_test_support.h"
#include "views/report/report_page.h"
#include "widgets/twips.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Text lines without any blank or tab: how a line is found in extracted text
// whatever spacing the extraction puts between the columns.
QStringList Squeezed(QString text) {
    text.remove(QRegularExpression(QStringLiteral("[^\\S\r\n\f]")));
    return text.split(QRegularExpression(QStringLiteral("[\r\n\f]+")), Qt::SkipEmptyParts);
}

// Whether any pixel within `reach` pixels of (x, y) along the row is dark.
bool DarkNear(const QImage& image, int x, int y, int reach = 0) {
    for (int dx = -reach; dx <= reach; ++dx)
        if (qGray(image.pixel(x + dx, y)) < 128)
            return true;
    return false;
}

// The page as a build of `count` grilles leaves it.
report::ReportPage BuiltPage(int count, const std::string& orderNumber) {
    model::Order order;
    FillOrder(order, count);
    const report::Report built = report::BuildReport(order, orderNumber);
    return {.heading = QString::fromStdString(built.heading),
            .table = QString::fromStdString(built.table),
            .materials = QString::fromStdString(built.materials),
            .layout = built.layout};
}

} // namespace

class ReportPageTest : public QObject {
    Q_OBJECT

private slots:
    void pageImageShowsLegendAndAlignedTable() {
        const report::ReportPage page = BuiltPage(8, "315");
        const int height = page.layout.height;

        // Twice the screen's size, 7.5 twips to a pixel.
        const double scale = 2.0 / 15;
        QImage image(static_cast<int>(report::PageWidth * scale), static_cast<int>(height * scale),
                     QImage::Format_RGB32);
        image.fill(Qt::red);
        {
            QPainter painter(&image);
            painter.scale(scale, scale);
            report::PaintReportPage(painter, page, QRectF(0, 0, report::PageWidth, height));
        }
        auto px = [&](double twips) { return static_cast<int>(twips * scale); };

        QCOMPARE(image.pixel(px(11400), px(height - 20)), qRgb(255, 255, 255));
        // Legend: the grille's left bar, the width dimension line, the opening's
        // right edge, the height dimension line.
        QVERIFY(DarkNear(image, px(840), px(4000)));
        QVERIFY(DarkNear(image, px(4000), px(360)));
        QVERIFY(DarkNear(image, px(6720), px(7000)));
        QVERIFY(DarkNear(image, px(10080), px(4000)));
        QVERIFY(!DarkNear(image, px(2000), px(4000)));

        // The heading stands near the right edge at the top.
        int headingInk = 0;
        for (int x = px(8000); x < px(11445); ++x)
            for (int y = px(120); y < px(520); ++y)
                headingInk += DarkNear(image, x, y) ? 1 : 0;
        QVERIFY(headingInk > 100);

        // On the header, the separator ("+") and every grille line, the column
        // marks stand at multiples of 8 cells.
        const double cell = report::TabStopDistance(FontInTwips(report::BoxFont(9))) / 8;
        const double pitch = report::LinePitch(9);
        for (int line = 0; line < 2 + 8; ++line) {
            const int y = px(page.layout.tableTop + line * pitch + pitch / 2);
            for (int column = 1; column <= 11; ++column)
                QVERIFY2(
                    DarkNear(image, px(report::BoxLeft + 45 + 8 * column * cell + cell / 2), y, 1),
                    qPrintable(QStringLiteral("line %1 column %2").arg(line).arg(column)));
        }
    }

    void pdfHoldsEveryLineOnceOverTheSheets_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("severalSheets");
        QTest::newRow("no grilles") << 0 << false;
        QTest::newRow("three grilles") << 3 << false;
        QTest::newRow("sixty grilles") << 60 << true;
    }

    void pdfHoldsEveryLineOnceOverTheSheets() {
        QFETCH(int, count);
        QFETCH(bool, severalSheets);
        const report::ReportPage page = BuiltPage(count, "П-" + std::to_string(count));
        const PrintJob job = report::PrintJobOf(page);
        QVERIFY(job.suggestedFileName.endsWith(QStringLiteral("Заказ П-%1.pdf").arg(count)));
        QCOMPARE(job.size, QSizeF(11445, page.layout.height)); // twips
        const QString file = dir_.filePath(QStringLiteral("report-%1.pdf").arg(count));
        QVERIFY(WritePdf(file, job));

        const QString text = PdfText(file);
        QVERIFY(text.count(QLatin1Char('\f')) >= 1);
        QCOMPARE(text.count(QLatin1Char('\f')) > 1, severalSheets);
        const QStringList printed = Squeezed(text);
        for (const QString& part : {page.heading, page.table, page.materials})
            for (const QString& line : Squeezed(part))
                QVERIFY2(printed.contains(line), qPrintable(line));
        // The title of each cut list once: nothing is painted twice on a sheet
        // boundary.
        QCOMPARE(printed.filter(QStringLiteral("---Решетка№")).size(), count);
    }

private:
    QTemporaryDir dir_;
};

RESHETKI_UI_TEST_MAIN(ReportPageTest)
#include "report_page_test.moc"
