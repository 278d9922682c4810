// "Создать отчёт", "Показать" and "Печать отчёта" on the main window.

#include "estimate/estimate.h"
#include "estimate/estimate_text.h"
#include "report/report_build.h"
#include "testsupport/program.h"
#include "views/estimate/estimate_window.h"
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
    // The texts themselves, for no grilles up to sixty, are the report's own
    // tests; here, that each reaches its place on screen.
    void buildFillsListMaterialsAndPage() {
        Program p;
        FillOrder(p.order, 2);
        Find<QLineEdit>(p.main, "txtONumber")->setText(QStringLiteral("17-б"));
        p.main.Handle([&] { p.main.BuildReport(); });
        QVERIFY(p.messenger.errors.isEmpty());

        const report::Report expected = report::BuildReport(p.order, "17-б");
        ReportPageWindow& page = p.main.ReportPage();
        QCOMPARE(page.Table(), expected.table);
        QCOMPARE(page.Materials(), expected.materials);
        QCOMPARE(Find<QPlainTextEdit>(page, "Texts")->toPlainText(), Lf(expected.materials));
        QCOMPARE(Find<QPlainTextEdit>(p.main.Materials(), "txtSux")->toPlainText(),
                 Lf(expected.materials));
        QCOMPARE(page.Heading(), QString::fromStdString(expected.heading));
        QVERIFY(page.Layout() == expected.layout);
        QCOMPARE(Find<QTreeWidget>(p.main, "lstReport1")->topLevelItemCount(), 2);
        for (int r = 0; r < 2; ++r)
            for (int column = 0; column < 12; ++column)
                QCOMPARE(
                    Find<QTreeWidget>(p.main, "lstReport1")->topLevelItem(r)->text(column),
                    QString::fromStdString(expected.rows[std::size_t(r)][std::size_t(column)]));
        QVERIFY(Find<QPushButton>(p.main, "cmdPrint")->isEnabled() &&
                Find<QPushButton>(p.main, "cmdShow")->isEnabled());
        QVERIFY(!page.isVisible());
        QVERIFY(!p.main.Materials().isVisible());
    }

    void priceBoxShowsTheBuildsPriceAndFollowsThePriceList() {
        Program p;
        FillOrder(p.order, 2);
        auto* box = Find<QLineEdit>(p.main, "txtOPrice");
        QVERIFY(!box->isEnabled());
        Find<QPushButton>(p.main, "cmdCreate")->setEnabled(true); // as a calculation does
        Find<QPushButton>(p.main, "cmdCreate")->click();
        QVERIFY(box->isEnabled() && box->isReadOnly());
        const estimate::PriceList prices{0, 1000, 0, 0, 500, 0};
        const char* typed[][2] = {{"txtMetalPerKg", "0"},     {"txtPerJoint", "10"},
                                  {"txtPerArea", "0"},        {"txtPaintPerArea", "0"},
                                  {"txtWasteAllowance", "5"}, {"txtMarkup", "0"}};
        for (const auto& [name, text] : typed) {
            auto* field = Find<QLineEdit>(p.main.Estimate(), name);
            field->setText(QString::fromUtf8(text));
            emit field->editingFinished();
        }
        QVERIFY(p.messenger.errors.isEmpty());
        const estimate::Result expected = estimate::EstimateOrder(p.order, prices);
        QVERIFY(expected.ok && expected.estimate.price > 0);
        QCOMPARE(box->text(), QString::fromStdString(estimate::MoneyText(expected.estimate.price)));
        QVERIFY(!p.main.Estimate().isVisible());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(p.main.Estimate().isVisible());
    }

    void onlyABuildRefreshesAndTheMaterialWindowKeepsItsText() {
        Program p;
        FillOrder(p.order, 5);
        Find<QLineEdit>(p.main, "txtONumber")->setText(QStringLiteral("5"));
        p.main.Handle([&] { p.main.BuildReport(); });
        ReportPageWindow& page = p.main.ReportPage();
        MaterialWindow* sux = &p.main.Materials();
        const std::string table = page.Table();
        const std::string materials = page.Materials();

        // "Показать" brings the one window to the front; closing it only hides it.
        p.main.Handle([&] { p.main.ShowMaterials(); });
        QVERIFY(sux->isVisible());
        p.main.Handle([&] { p.main.ShowMaterials(); });
        QCOMPARE(&p.main.Materials(), sux);
        QVERIFY(sux->close());
        QCoreApplication::processEvents();
        QVERIFY(p.main.HasMaterials());
        p.main.Handle([&] { p.main.ShowMaterials(); });
        QCOMPARE(&p.main.Materials(), sux);
        QCOMPARE(Find<QPlainTextEdit>(*sux, "txtSux")->toPlainText(), Lf(materials));

        // Edits after the build show nowhere until the next build, which
        // replaces everything, on screen at once.
        p.order.OpeningAt(3).Width = 2222;
        Find<QLineEdit>(p.main, "txtONumber")->setText(QStringLiteral("6"));
        QCOMPARE(page.Table(), table);
        QCOMPARE(page.Heading(), QStringLiteral("Заказ #5"));
        p.main.Handle([&] { p.main.BuildReport(); });
        QCOMPARE(Find<QTreeWidget>(p.main, "lstReport1")->topLevelItem(2)->text(1),
                 QStringLiteral("2222"));
        QCOMPARE(page.Heading(), QStringLiteral("Заказ #6"));
        QCOMPARE(Find<QPlainTextEdit>(*sux, "txtSux")->toPlainText(),
                 Lf(report::BuildReport(p.order, "6").materials));
        QVERIFY(p.messenger.errors.isEmpty());
        sux->close();
    }

    void overflowStopsTheBuildWhereItHappened() {
        Program p;
        FillOrder(p.order, 3);
        p.order.GrilleAt(2).n = 32767;
        p.main.Handle([&] { p.main.BuildReport(); });
        QCOMPARE(p.messenger.errors.size(), 1);
        QVERIFY(Find<QPushButton>(p.main, "cmdPrint")->isEnabled());
        QVERIFY(!Find<QPushButton>(p.main, "cmdShow")->isEnabled());
        // The second row was listed before its cut list overflowed.
        QCOMPARE(Find<QTreeWidget>(p.main, "lstReport1")->topLevelItemCount(), 2);
        QCOMPARE(Find<QPlainTextEdit>(p.main.Materials(), "txtSux")->toPlainText(),
                 Lf(report::MaterialBlock(1, p.order.GrilleAt(1))));
    }
};

RESHETKI_UI_TEST_MAIN(ReportCommandsTest)
#include "report_commands_test.moc"
