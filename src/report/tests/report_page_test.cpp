#include "forms/main/frm_main.h"
#include "report/frm_report.h"
#include "report/page_printer.h"
#include "report/report_page.h"
#include "report/report_text.h"
#include "report_test_support.h"
#include "testsupport/ui_test_support.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Text lines without any blank or tab: how a line is found in extracted text
// whatever spacing the extraction puts between the columns.
QStringList Squeezed(QString text) {
    text.remove(QRegularExpression(QStringLiteral("[^\\S\r\n\f]")));
    return text.split(QRegularExpression(QStringLiteral("[\r\n\f]+")), Qt::SkipEmptyParts);
}

// The text of a PDF file as pdftotext lays it out; a form feed ends each sheet.
QString PdfText(const QString& file) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Whether any pixel within `reach` pixels of (x, y) along the row is dark.
bool DarkNear(const QImage& image, int x, int y, int reach = 0) {
    for (int dx = -reach; dx <= reach; ++dx)
        if (qGray(image.pixel(x + dx, y)) < 128)
            return true;
    return false;
}

} // namespace

class ReportPageTest : public QObject {
    Q_OBJECT

private slots:
    void slicesEndAtBreaks_data();
    void slicesEndAtBreaks();
    void pageImageShowsLegendAndAlignedTable();
    void printWithoutPrinterSavesAPdfFile_data();
    void printWithoutPrinterSavesAPdfFile();

private:
    RecordingMessenger messenger_;
    QTemporaryDir dir_;
};

void ReportPageTest::slicesEndAtBreaks_data() {
    QTest::addColumn<double>("pageHeight");
    QTest::addColumn<QList<double>>("breaks");
    QTest::addColumn<QList<double>>("bottoms");
    QTest::newRow("fits one sheet") << 900.0 << QList<double>{300, 600} << QList<double>{900};
    QTest::newRow("no breaks: full sheets")
        << 2500.0 << QList<double>{} << QList<double>{1000, 2000, 2500};
    QTest::newRow("last break that fits")
        << 2500.0 << QList<double>{400, 950, 1270, 1540, 1810, 2080}
        << QList<double>{950, 1810, 2500};
    QTest::newRow("break too near the top is skipped")
        << 2000.0 << QList<double>{50, 1900} << QList<double>{1000, 2000};
    QTest::newRow("empty page is one sheet") << 0.0 << QList<double>{} << QList<double>{0};
}

void ReportPageTest::slicesEndAtBreaks() {
    QFETCH(double, pageHeight);
    QFETCH(QList<double>, breaks);
    QFETCH(QList<double>, bottoms);
    // Sheets 1000 high; each slice starts where the one before ended.
    QList<double> ends;
    double top = 0;
    for (const SheetSlice& slice :
         SliceIntoSheets(pageHeight, 1000, {breaks.begin(), breaks.end()})) {
        QCOMPARE(slice.top, top);
        ends << (top = slice.bottom);
    }
    QCOMPARE(ends, bottoms);
}

void ReportPageTest::pageImageShowsLegendAndAlignedTable() {
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, 8);
    main.txtONumber->setText(QStringLiteral("315"));
    main.Handle([&] { main.cmdCreate_Click(); });
    const report::ReportPage page = main.reportWindow().Page();

    // Twice the screen's size, 7.5 twips to a pixel.
    const double scale = 2.0 / 15;
    QImage image(static_cast<int>(report::PageWidth * scale), static_cast<int>(page.height * scale),
                 QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        report::PaintReportPage(painter, page, QRectF(0, 0, report::PageWidth, page.height));
    }
    auto px = [&](double twips) { return static_cast<int>(twips * scale); };

    QCOMPARE(image.pixel(px(11400), px(page.height - 20)), qRgb(255, 255, 255));
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
    const double cell = report::TabStopDistance(report::InTwips(report::BoxFont(9))) / 8;
    const double pitch = report::LinePitch(9);
    for (int line = 0; line < 2 + 8; ++line) {
        const int y = px(page.tableTop + line * pitch + pitch / 2);
        for (int column = 1; column <= 11; ++column)
            QVERIFY2(DarkNear(image, px(report::BoxLeft + 45 + 8 * column * cell + cell / 2), y, 1),
                     qPrintable(QStringLiteral("line %1 column %2").arg(line).arg(column)));
    }
}

void ReportPageTest::printWithoutPrinterSavesAPdfFile_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("severalSheets");
    QTest::newRow("no grilles") << 0 << false;
    QTest::newRow("three grilles") << 3 << false;
    QTest::newRow("sixty grilles") << 60 << true;
}

void ReportPageTest::printWithoutPrinterSavesAPdfFile() {
    QFETCH(int, count);
    QFETCH(bool, severalSheets);
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed: printing would not offer a PDF file");
    messenger_.clear();
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, count);
    main.txtONumber->setText(QStringLiteral("П-%1").arg(count));
    main.Handle([&] { main.cmdCreate_Click(); });

    // No answer: the dialog was cancelled.
    main.Handle([&] { main.cmdPrint_Click(); });
    QCOMPARE(messenger_.suggestions.size(), 1);
    QVERIFY(messenger_.suggestions.first().endsWith(QStringLiteral("Заказ П-%1.pdf").arg(count)));
    QVERIFY(messenger_.errors.isEmpty());

    // A folder that does not exist: told in Russian, no file appears.
    const QString missing = dir_.filePath(QStringLiteral("нет/отчёт.pdf"));
    messenger_.saveAnswers << missing;
    main.Handle([&] { main.cmdPrint_Click(); });
    QCOMPARE(messenger_.errors.size(), 1);
    QVERIFY(messenger_.errors.first().startsWith(QStringLiteral("Не удалось сохранить файл")));
    QVERIFY(!QFile::exists(missing));

    // A name without an extension gets ".pdf".
    messenger_.clear();
    const QString file = dir_.filePath(QStringLiteral("report-%1").arg(count));
    messenger_.saveAnswers << file;
    main.Handle([&] { main.cmdPrint_Click(); });
    QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join(QLatin1Char('\n'))));
    QVERIFY(!QFile::exists(file));
    QVERIFY(!main.reportWindow().isVisible());

    const QString text = PdfText(file + QStringLiteral(".pdf"));
    QVERIFY(text.count(QLatin1Char('\f')) >= 1);
    QCOMPARE(text.count(QLatin1Char('\f')) > 1, severalSheets);
    const QStringList printed = Squeezed(text);
    const report::Report built = report::BuildReport(order, main.txtONumber->text().toStdString());
    for (const std::string& part : {built.heading, built.table, built.materials})
        for (const QString& line : Squeezed(QString::fromStdString(part)))
            QVERIFY2(printed.contains(line), qPrintable(line));
    // The title of each cut list once: nothing is painted twice on a sheet
    // boundary.
    QCOMPARE(printed.filter(QStringLiteral("---Решетка№")).size(), count);

    // Printing again prints the same page.
    const QString again = dir_.filePath(QStringLiteral("again-%1.pdf").arg(count));
    messenger_.saveAnswers << again;
    main.Handle([&] { main.cmdPrint_Click(); });
    QCOMPARE(Squeezed(PdfText(again)), printed);
}

RESHETKI_UI_TEST_MAIN(ReportPageTest)
#include "report_page_test.moc"
