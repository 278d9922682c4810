// "Создать отчёт", "Показать" and "Печать отчёта" on the main window.

#include "main_window/main_window.h"
#include "report/report_build.h"
#include "testsupport/order_fixtures.h"
#include "testsupport/ui_test_support.h"
#include "views/report/material_window.h"
#include "views/report/report_page_window.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

class ReportCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { messenger_.Clear(); }
    void buildFillsListMaterialsAndPage_data();
    void buildFillsListMaterialsAndPage();
    void onlyABuildRefreshesAndTheMaterialWindowKeepsItsText();
    void overflowStopsTheBuildWhereItHappened();

private:
    RecordingMessenger messenger_;
};

void ReportCommandsTest::buildFillsListMaterialsAndPage_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("orderNumber");
    QTest::newRow("no grilles, no order number") << 0 << QString();
    QTest::newRow("two grilles") << 2 << QStringLiteral("17-б");
    QTest::newRow("sixty grilles") << 60 << QStringLiteral("2024-15");
}

void ReportCommandsTest::buildFillsListMaterialsAndPage() {
    QFETCH(int, count);
    QFETCH(QString, orderNumber);
    model::Order order;
    MainWindow main(order, messenger_);
    FillOrder(order, count);
    main.txtONumber->setText(orderNumber);
    main.Handle([&] { main.cmdCreate_Click(); });
    QVERIFY(messenger_.errors.isEmpty());

    const report::Report expected = report::BuildReport(order, orderNumber.toStdString());
    ReportPageWindow& page = main.ReportPage();
    QCOMPARE(page.Table(), expected.table);
    QCOMPARE(page.Materials(), expected.materials);
    QCOMPARE(page.Texts->toPlainText(), Lf(expected.materials));
    QCOMPARE(main.Materials().txtSux->toPlainText(), Lf(expected.materials));
    QCOMPARE(page.Heading(), QString::fromStdString(expected.heading));
    QVERIFY(page.Layout() == expected.layout);
    QCOMPARE(main.lstReport1->topLevelItemCount(), count);
    for (int r = 0; r < count; ++r)
        QCOMPARE(main.lstReport1->topLevelItem(r)->text(11),
                 QString::fromStdString(expected.rows[static_cast<std::size_t>(r)][11]));
    QVERIFY(main.cmdPrint->isEnabled() && main.cmdShow->isEnabled());
    QVERIFY(!page.isVisible());
    QVERIFY(!main.Materials().isVisible());
}

void ReportCommandsTest::onlyABuildRefreshesAndTheMaterialWindowKeepsItsText() {
    model::Order order;
    MainWindow main(order, messenger_);
    FillOrder(order, 5);
    main.txtONumber->setText(QStringLiteral("5"));
    main.Handle([&] { main.cmdCreate_Click(); });
    ReportPageWindow& page = main.ReportPage();
    MaterialWindow* sux = &main.Materials();
    const std::string table = page.Table();
    const std::string materials = page.Materials();

    // "Показать" brings the one window to the front; closing it only hides it.
    main.Handle([&] { main.cmdShow_Click(); });
    QVERIFY(sux->isVisible());
    main.Handle([&] { main.cmdShow_Click(); });
    QCOMPARE(&main.Materials(), sux);
    QVERIFY(sux->close());
    QCoreApplication::processEvents();
    QVERIFY(main.HasMaterials());
    main.Handle([&] { main.cmdShow_Click(); });
    QCOMPARE(&main.Materials(), sux);
    QCOMPARE(sux->txtSux->toPlainText(), Lf(materials));

    // Edits after the build show nowhere until the next build, which
    // replaces everything, on screen at once.
    order.OpeningAt(3).Width = 2222;
    main.txtONumber->setText(QStringLiteral("6"));
    QCOMPARE(page.Table(), table);
    QCOMPARE(page.Heading(), QStringLiteral("Заказ #5"));
    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(main.lstReport1->topLevelItem(2)->text(1), QStringLiteral("2222"));
    QCOMPARE(page.Heading(), QStringLiteral("Заказ #6"));
    QCOMPARE(sux->txtSux->toPlainText(), Lf(report::BuildReport(order, "6").materials));
    QVERIFY(messenger_.errors.isEmpty());
    sux->close();
}

void ReportCommandsTest::overflowStopsTheBuildWhereItHappened() {
    model::Order order;
    MainWindow main(order, messenger_);
    FillOrder(order, 3);
    order.GrilleAt(2).n = 32767;
    main.Handle([&] { main.cmdCreate_Click(); });
    QCOMPARE(messenger_.errors.size(), 1);
    QVERIFY(main.cmdPrint->isEnabled());
    QVERIFY(!main.cmdShow->isEnabled());
    // The second row was listed before its cut list overflowed.
    QCOMPARE(main.lstReport1->topLevelItemCount(), 2);
    QCOMPARE(main.Materials().txtSux->toPlainText(),
             Lf(report::MaterialBlock(1, order.GrilleAt(1))));
}

RESHETKI_UI_TEST_MAIN(ReportCommandsTest)
#include "report_commands_test.moc"
