#include "forms/main/frm_main.h"
#include "report/frm_report.h"
#include "report/frm_sux.h"
#include "report/report_text.h"
#include "report_test_support.h"
#include "testsupport/ui_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

double TabStop(const QPlainTextEdit* box) {
    return 8 * QFontMetricsF(box->font()).horizontalAdvance(QLatin1Char(' '));
}

} // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void buildFillsAndLaysOutEveryOutput_data();
    void buildFillsAndLaysOutEveryOutput();
    void onlyABuildRefreshesAndTheCutListWindowKeepsItsText();
    void overflowStopsTheBuildWhereItHappened();

private:
    RecordingMessenger messenger_;
};

void ReportWindowsTest::buildFillsAndLaysOutEveryOutput_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("orderNumber");
    QTest::addColumn<int>("tableHeight");
    QTest::addColumn<int>("materialsHeight");
    QTest::newRow("no grilles, no order number") << 0 << QString() << 1080 << 2160;
    QTest::newRow("two grilles") << 2 << QStringLiteral("17-б") << 1620 << 3240;
    // 180 cut-list lines need more than twice the table box.
    QTest::newRow("sixty grilles") << 60 << QStringLiteral("2024-15") << 17280 << 181 * 270;
}

void ReportWindowsTest::buildFillsAndLaysOutEveryOutput() {
    QFETCH(int, count);
    QFETCH(QString, orderNumber);
    QFETCH(int, tableHeight);
    QFETCH(int, materialsHeight);
    model::Order order;
    FrmMain main(order, messenger_);
    QVERIFY(!main.hasReportWindow());
    QVERIFY(!main.hasSuxWindow());
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

    QVERIFY(page.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(page.width(), 763);
    for (QPlainTextEdit* box : {page.txtMainReport, page.Texts}) {
        QCOMPARE(box->font().pointSizeF(), 9.0);
        QVERIFY(QFontInfo(box->font()).fixedPitch());
        QCOMPARE(box->tabStopDistance(), TabStop(box));
        QCOMPARE(box->x(), 8);
        QCOMPARE(box->width(), 753);
    }
    // The heading keeps its right edge near the page's right edge.
    QCOMPARE(page.Label6->geometry().right() + 1, 751);
    QCOMPARE(page.Label6->y(), 8);
    FrmSux& sux = main.suxWindow();
    QVERIFY(sux.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(sux.size(), QSize(346, 250));
    QCOMPARE(sux.txtSux->geometry(), QRect(0, 0, 345, 249));
    QCOMPARE(sux.txtSux->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(sux.txtSux->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(sux.txtSux->tabStopDistance(), TabStop(sux.txtSux));
}

void ReportWindowsTest::onlyABuildRefreshesAndTheCutListWindowKeepsItsText() {
    model::Order order;
    FrmMain main(order, messenger_);
    FillOrder(order, 5);
    main.txtONumber->setText(QStringLiteral("5"));
    main.Handle([&] { main.cmdCreate_Click(); });
    FrmReport& page = main.reportWindow();
    FrmSux* sux = &main.suxWindow();
    const std::string table = page.table();
    const std::string materials = page.materials();
    const QString row3 = main.lstReport1->topLevelItem(2)->text(1);

    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(page.table(), table);
    QCOMPARE(page.materials(), materials);
    QCOMPARE(main.lstReport1->topLevelItemCount(), 5);
    QCOMPARE(sux->txtSux->toPlainText(), Lf(materials));

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
    QCOMPARE(sux->txtSux->toPlainText(), Lf(materials));

    // Edits after the build show nowhere until the next build.
    order.OpeningAt(3).Width = 2222;
    order.GrilleAt(3).DoubleBelt = -1;
    main.txtONumber->setText(QStringLiteral("6"));
    QCOMPARE(page.table(), table);
    QCOMPARE(main.lstReport1->topLevelItem(2)->text(1), row3);
    QCOMPARE(page.heading(), QStringLiteral("Заказ #5"));

    // The next build replaces everything, on screen at once.
    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(main.lstReport1->topLevelItem(2)->text(1), QStringLiteral("2222"));
    QVERIFY(page.table() != table);
    QCOMPARE(page.heading(), QStringLiteral("Заказ #6"));
    QCOMPARE(sux->txtSux->toPlainText(), Lf(report::BuildReport(order, "6").materials));
    QVERIFY(messenger_.errors.isEmpty());
    sux->close();
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

RESHETKI_UI_TEST_MAIN(ReportWindowsTest)
#include "report_windows_test.moc"
