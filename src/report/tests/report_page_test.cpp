#include "forms/main/frm_main.h"
#include "report/frm_report.h"
#include "report/page_printer.h"
#include "report/report_page.h"
#include "report/report_text.h"
#include "testsupport/ui_test_support.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void FillOrder(model::Order& order, int count) {
    order.GrilleCount = static_cast<model::int16>(count);
    for (int i = 1; i <= count; ++i) {
        const auto k = static_cast<model::int16>(i);
        order.OpeningAt(i) = {static_cast<model::int16>(1000 + k), 1500, 40, 60, 30};
        order.GrilleAt(i) = {static_cast<model::int16>(940 + k),
                             1400,
                             164,
                             static_cast<model::int16>(k % 6),
                             7,
                             14,
                             static_cast<model::int16>(k % 2 == 0 ? -1 : 0),
                             1.3 * 1.44};
    }
}

// Text lines without any blank or tab: how a line is found in extracted text
// whatever spacing the extraction puts between the columns.
QStringList Squeezed(const QString& text) {
    QStringList lines;
    for (QString line : text.split(QRegularExpression(QStringLiteral("[\r\n\f]+")))) {
        line.remove(QRegularExpression(QStringLiteral("\\s")));
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

QString Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& file) {
    const QString info = Run(QStringLiteral("pdfinfo"), {file});
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool IsDark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// Whether any pixel within `reach` pixels of (x, y) along the row is dark.
bool DarkNear(const QImage& image, int x, int y, int reach) {
    for (int dx = -reach; dx <= reach; ++dx)
        if (IsDark(image, x + dx, y))
            return true;
    return false;
}

} // namespace

class ReportPageTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void slicesEndAtBreaks_data();
    void slicesEndAtBreaks();
    void pageImageShowsLegendAndAlignedTable();
    void printWithoutPrinterWritesPdf_data();
    void printWithoutPrinterWritesPdf();
    void cancelledOrFailedSaveLeavesNoFile();

private:
    RecordingMessenger messenger_;
    QTemporaryDir dir_;
};

void ReportPageTest::init() {
    messenger_.clear();
    messenger_.saveAnswers.clear();
}

void ReportPageTest::slicesEndAtBreaks_data() {
    QTest::addColumn<double>("pageHeight");
    QTest::addColumn<double>("sheetHeight");
    QTest::addColumn<QList<double>>("breaks");
    QTest::addColumn<QList<double>>("bottoms");

    QTest::newRow("fits one sheet")
        << 900.0 << 1000.0 << QList<double>{300, 600} << QList<double>{900};
    QTest::newRow("no breaks: full sheets")
        << 2500.0 << 1000.0 << QList<double>{} << QList<double>{1000, 2000, 2500};
    QTest::newRow("last break that fits")
        << 2500.0 << 1000.0 << QList<double>{400, 950, 1270, 1540, 1810, 2080}
        << QList<double>{950, 1810, 2500};
    QTest::newRow("break too near the top is skipped")
        << 2000.0 << 1000.0 << QList<double>{50, 1900} << QList<double>{1000, 2000};
    QTest::newRow("empty page is one sheet")
        << 0.0 << 1000.0 << QList<double>{} << QList<double>{0};
}

void ReportPageTest::slicesEndAtBreaks() {
    QFETCH(double, pageHeight);
    QFETCH(double, sheetHeight);
    QFETCH(QList<double>, breaks);
    QFETCH(QList<double>, bottoms);

    const auto slices = SliceIntoSheets(pageHeight, sheetHeight, {breaks.begin(), breaks.end()});
    QCOMPARE(static_cast<qsizetype>(slices.size()), bottoms.size());
    double top = 0;
    for (std::size_t k = 0; k < slices.size(); ++k) {
        QCOMPARE(slices[k].top, top);
        QCOMPARE(slices[k].bottom, bottoms[static_cast<qsizetype>(k)]);
        top = slices[k].bottom;
    }
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
    image.save(dir_.filePath(QStringLiteral("report-page.png")));
    auto px = [&](double twips) { return static_cast<int>(twips * scale); };

    QCOMPARE(image.pixel(px(11400), px(page.height - 20)), qRgb(255, 255, 255));
    // Legend: the grille's left bar, the width dimension line, the opening's
    // right edge, the height dimension line.
    QVERIFY(IsDark(image, px(840), px(4000)));
    QVERIFY(IsDark(image, px(4000), px(360)));
    QVERIFY(IsDark(image, px(6720), px(7000)));
    QVERIFY(IsDark(image, px(10080), px(4000)));
    QVERIFY(!IsDark(image, px(2000), px(4000)));

    // The heading stands near the right edge at the top.
    int headingInk = 0;
    for (int x = px(8000); x < px(11445); ++x)
        for (int y = px(120); y < px(520); ++y)
            headingInk += IsDark(image, x, y) ? 1 : 0;
    QVERIFY(headingInk > 100);

    // Every "|" of the table stands at a multiple of 8 cells, on every row.
    const double cell = report::TabStopDistance(report::InTwips(report::BoxFont(9))) / 8;
    const double pitch = report::LinePitch(9);
    for (int row = 0; row < 8 + 1; ++row) {
        const int y = px(page.tableTop + (row == 0 ? 0 : row + 1) * pitch + pitch / 2);
        for (int column = 1; column <= 11; ++column) {
            const double x = report::BoxLeft + 45 + 8 * column * cell + cell / 2;
            QVERIFY2(DarkNear(image, px(x), y, 1),
                     qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
        }
    }
    // The separator's "+" signs sit under the bars.
    const int separatorY = px(page.tableTop + 1.5 * pitch);
    for (int column = 1; column <= 11; ++column)
        QVERIFY(DarkNear(image, px(report::BoxLeft + 45 + 8 * column * cell + cell / 2), separatorY,
                         1));
}

void ReportPageTest::printWithoutPrinterWritesPdf_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("severalSheets");
    QTest::newRow("no grilles") << 0 << false;
    QTest::newRow("three grilles") << 3 << false;
    QTest::newRow("sixty grilles") << 60 << true;
}

void ReportPageTest::printWithoutPrinterWritesPdf() {
    QFETCH(int, count);
    QFETCH(bool, severalSheets);
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed: printing would not offer a PDF file");

    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, count);
    main.txtONumber->setText(QStringLiteral("П-%1").arg(count));
    main.Handle([&] { main.cmdCreate_Click(); });
    const QString file = dir_.filePath(QStringLiteral("report-%1.pdf").arg(count));
    messenger_.saveAnswers << file;
    main.Handle([&] { main.cmdPrint_Click(); });
    QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join(QLatin1Char('\n'))));
    QCOMPARE(messenger_.suggestions.size(), 1);
    QVERIFY(messenger_.suggestions.first().endsWith(QStringLiteral("Заказ П-%1.pdf").arg(count)));
    QVERIFY(!main.reportWindow().isVisible());

    const int pages = PdfPages(file);
    QVERIFY(pages >= 1);
    QCOMPARE(pages > 1, severalSheets);
    const QStringList printed = Squeezed(
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")}));
    const report::Report built = report::BuildReport(order, main.txtONumber->text().toStdString());
    QStringList expected = Squeezed(QString::fromStdString(built.heading));
    expected << Squeezed(QString::fromStdString(built.table))
             << Squeezed(QString::fromStdString(built.materials));
    for (const QString& line : expected)
        QVERIFY2(printed.contains(line), qPrintable(line));
    // The title of each cut list once: nothing is painted twice on a sheet
    // boundary.
    QCOMPARE(printed.filter(QStringLiteral("---Решетка№")).size(), count);

    // Printing again prints the same page.
    const QString again = dir_.filePath(QStringLiteral("again-%1.pdf").arg(count));
    messenger_.saveAnswers << again;
    main.Handle([&] { main.cmdPrint_Click(); });
    QCOMPARE(Squeezed(Run(QStringLiteral("pdftotext"),
                          {QStringLiteral("-layout"), again, QStringLiteral("-")})),
             printed);
}

void ReportPageTest::cancelledOrFailedSaveLeavesNoFile() {
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed: printing would not offer a PDF file");
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, 2);
    main.Handle([&] { main.cmdCreate_Click(); });

    // No answer: the dialog was cancelled.
    main.Handle([&] { main.cmdPrint_Click(); });
    QCOMPARE(messenger_.suggestions.size(), 1);
    QVERIFY(messenger_.errors.isEmpty());

    // A folder that does not exist: told in Russian, no file appears.
    const QString missing = dir_.filePath(QStringLiteral("нет/отчёт.pdf"));
    messenger_.saveAnswers << missing;
    main.Handle([&] { main.cmdPrint_Click(); });
    QCOMPARE(messenger_.errors.size(), 1);
    QVERIFY(messenger_.errors.first().startsWith(QStringLiteral("Не удалось сохранить файл")));
    QVERIFY(!QFile::exists(missing));

    // A name without an extension gets ".pdf"; an existing file is replaced.
    messenger_.clear();
    const QString bare = dir_.filePath(QStringLiteral("bare"));
    messenger_.saveAnswers << bare;
    main.Handle([&] { main.cmdPrint_Click(); });
    QVERIFY(messenger_.errors.isEmpty());
    QVERIFY(QFile::exists(bare + QStringLiteral(".pdf")));
    QVERIFY(!QFile::exists(bare));
}

RESHETKI_UI_TEST_MAIN(ReportPageTest)
#include "report_page_test.moc"
