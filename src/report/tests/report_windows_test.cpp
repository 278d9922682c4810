#include "forms/main/frm_main.h"
#include "report/frm_report.h"
#include "report/frm_sux.h"
#include "report/report_page.h"
#include "report/report_text.h"
#include "testsupport/ui_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Fills grilles 1..count with varied values: double and single belts,
// negative inserts and areas below and above 1.
void FillOrder(model::Order& order, int count) {
    order.GrilleCount = static_cast<model::int16>(count);
    for (int i = 1; i <= count; ++i) {
        const auto k = static_cast<model::int16>(i);
        order.OpeningAt(i) = {static_cast<model::int16>(900 + 10 * k), 1400, 20, 30, 25};
        model::Grille& g = order.GrilleAt(i);
        g = {static_cast<model::int16>(850 + 10 * k),
             1350,
             164,
             static_cast<model::int16>(k % 7),
             static_cast<model::int16>(k % 3 == 0 ? -5 : 12),
             14,
             static_cast<model::int16>(k % 2 == 0 ? -1 : 0),
             0.85 + 0.01 * k};
    }
}

QString Lf(const std::string& text) {
    return QString::fromStdString(text).remove(QLatin1Char('\r'));
}

} // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void buildFillsEveryOutput_data();
    void buildFillsEveryOutput();
    void buildIsRepeatableAndOnlyABuildRefreshes();
    void overflowStopsTheBuildWhereItHappened();
    void materialWindowKeepsItsTextWhenClosed();
    void windowsAreLaidOutForTheirTexts();

private:
    RecordingMessenger messenger_;
};

void ReportWindowsTest::buildFillsEveryOutput_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("orderNumber");
    QTest::addColumn<int>("tableHeight");
    QTest::addColumn<int>("materialsHeight");

    QTest::newRow("no grilles, no order number") << 0 << QString() << 1080 << 2160;
    QTest::newRow("two grilles") << 2 << QStringLiteral("17-б") << 1620 << 3240;
    // 180 cut-list lines need more than twice the table box.
    QTest::newRow("sixty grilles") << 60 << QStringLiteral("60") << 17280 << 181 * 270;
}

void ReportWindowsTest::buildFillsEveryOutput() {
    QFETCH(int, count);
    QFETCH(QString, orderNumber);
    QFETCH(int, tableHeight);
    QFETCH(int, materialsHeight);

    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, count);
    main.txtONumber->setText(orderNumber);
    main.Handle([&] { main.cmdCreate_Click(); });
    QVERIFY(messenger_.errors.isEmpty());

    const report::Report expected = report::BuildReport(order, orderNumber.toStdString());
    FrmReport& page = main.reportWindow();
    QCOMPARE(page.table(), expected.table);
    QCOMPARE(page.materials(), expected.materials);
    QCOMPARE(page.txtMainReport->toPlainText(), Lf(expected.table));
    QCOMPARE(page.Texts->toPlainText(), Lf(expected.materials));
    QCOMPARE(main.suxWindow().txtSux->toPlainText(), Lf(expected.materials));
    QCOMPARE(page.heading(), QString::fromStdString(expected.heading));
    QCOMPARE(page.txtMainReport->toPlainText().count(QLatin1Char('\n')) + 1, count + 3);

    QCOMPARE(main.lstReport1->topLevelItemCount(), count);
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < 12; ++c)
            QCOMPARE(main.lstReport1->topLevelItem(r)->text(c),
                     QString::fromStdString(
                         expected.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));

    QCOMPARE(page.tableTop(), 7800);
    QCOMPARE(page.tableHeight(), tableHeight);
    QCOMPARE(page.materialsTop(), 7800 + tableHeight + 150);
    QCOMPARE(page.materialsHeight(), materialsHeight);
    QCOMPARE(page.pageHeight(), page.materialsTop() + materialsHeight + 150);
    QCOMPARE(page.txtMainReport->height(), (tableHeight + 7) / 15);

    QVERIFY(main.cmdPrint->isEnabled());
    QVERIFY(main.cmdShow->isEnabled());
    QVERIFY(!page.isVisible());
    QVERIFY(!main.suxWindow().isVisible());
}

void ReportWindowsTest::buildIsRepeatableAndOnlyABuildRefreshes() {
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, 5);
    main.txtONumber->setText(QStringLiteral("5"));
    main.Handle([&] { main.cmdCreate_Click(); });
    FrmReport& page = main.reportWindow();
    const std::string table = page.table();
    const std::string materials = page.materials();
    const QString row3 = main.lstReport1->topLevelItem(2)->text(1);

    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(page.table(), table);
    QCOMPARE(page.materials(), materials);
    QCOMPARE(main.lstReport1->topLevelItemCount(), 5);
    QCOMPARE(main.suxWindow().txtSux->toPlainText(), Lf(materials));

    // Edits after the build show nowhere until the next build.
    order.OpeningAt(3).Width = 2222;
    order.GrilleAt(3).DoubleBelt = -1;
    main.txtONumber->setText(QStringLiteral("6"));
    QCOMPARE(page.table(), table);
    QCOMPARE(main.lstReport1->topLevelItem(2)->text(1), row3);
    QCOMPARE(page.heading(), QStringLiteral("Заказ #5"));

    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(main.lstReport1->topLevelItem(2)->text(1), QStringLiteral("2222"));
    QVERIFY(page.table() != table);
    QCOMPARE(page.heading(), QStringLiteral("Заказ #6"));
    QVERIFY(messenger_.errors.isEmpty());
}

void ReportWindowsTest::overflowStopsTheBuildWhereItHappened() {
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, 3);
    order.GrilleAt(2).n = 32767;
    messenger_.clear();
    main.Handle([&] { main.cmdCreate_Click(); });

    QCOMPARE(messenger_.errors.size(), 1);
    QVERIFY(main.cmdPrint->isEnabled());
    QVERIFY(!main.cmdShow->isEnabled());
    // The second row was listed before its cut list overflowed.
    QCOMPARE(main.lstReport1->topLevelItemCount(), 2);
    QCOMPARE(main.suxWindow().txtSux->toPlainText(),
             Lf(report::MaterialBlock(1, order.GrilleAt(1))));
    messenger_.clear();
}

void ReportWindowsTest::materialWindowKeepsItsTextWhenClosed() {
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, 2);
    main.Handle([&] { main.cmdCreate_Click(); });
    FrmSux* sux = &main.suxWindow();
    const QString text = sux->txtSux->toPlainText();

    main.Handle([&] { main.cmdShow_Click(); });
    QVERIFY(sux->isVisible());
    QCOMPARE(sux->windowTitle(), QStringLiteral("Расход материалов"));
    QVERIFY(!sux->txtSux->isReadOnly());
    main.Handle([&] { main.cmdShow_Click(); });
    QCOMPARE(&main.suxWindow(), sux);

    QVERIFY(sux->close());
    QCoreApplication::processEvents();
    QVERIFY(main.hasSuxWindow());
    main.Handle([&] { main.cmdShow_Click(); });
    QCOMPARE(&main.suxWindow(), sux);
    QVERIFY(sux->isVisible());
    QCOMPARE(sux->txtSux->toPlainText(), text);

    // While on screen, a new build replaces the text at once.
    FillOrder(order, 1);
    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(sux->txtSux->toPlainText(), Lf(report::MaterialBlock(1, order.GrilleAt(1))));
    sux->close();
}

void ReportWindowsTest::windowsAreLaidOutForTheirTexts() {
    model::Order order;
    FrmMain main(order, messenger_);
    QVERIFY(!main.hasReportWindow());
    QVERIFY(!main.hasSuxWindow());
    main.txtONumber->setText(QStringLiteral("2024-15"));
    main.Handle([&] { main.cmdCreate_Click(); });
    QVERIFY(main.hasReportWindow());
    QVERIFY(main.hasSuxWindow());

    FrmReport& page = main.reportWindow();
    QVERIFY(page.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(page.width(), 763);
    for (QPlainTextEdit* box : {page.txtMainReport, page.Texts}) {
        QCOMPARE(box->font().pointSizeF(), 9.0);
        QVERIFY(QFontInfo(box->font()).fixedPitch());
        QCOMPARE(box->tabStopDistance(),
                 8 * QFontMetricsF(box->font()).horizontalAdvance(QLatin1Char(' ')));
        QCOMPARE(box->x(), 8);
        QCOMPARE(box->width(), 753);
    }
    // The heading keeps its right edge near the page's right edge.
    QCOMPARE(page.Label6->text(), QStringLiteral("Заказ #2024-15"));
    QCOMPARE(page.Label6->geometry().right() + 1, 751);
    QCOMPARE(page.Label6->y(), 8);

    FrmSux& sux = main.suxWindow();
    QVERIFY(sux.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(sux.size(), QSize(346, 250));
    QCOMPARE(sux.txtSux->geometry(), QRect(0, 0, 345, 249));
    QCOMPARE(sux.txtSux->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(sux.txtSux->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(sux.txtSux->tabStopDistance(),
             8 * QFontMetricsF(sux.txtSux->font()).horizontalAdvance(QLatin1Char(' ')));
}

RESHETKI_UI_TEST_MAIN(ReportWindowsTest)
#include "report_windows_test.moc"
