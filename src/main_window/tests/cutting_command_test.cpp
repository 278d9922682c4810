// "Оптимизировать": the cutting window opens on the order's cut lists and
// follows the report builds.

#include "main_window/main_window.h"
#include "testsupport/ui_test_support.h"
#include "views/correction/correction_dialog.h"
#include "views/cutting/cutting_window.h"
#include "views/estimate/estimate_window.h"
#include "views/report/material_window.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

// Grilles 1..count, each cut into 2 x 1000 and 5 x 1500.
void FillOrder(model::Order& order, int count) {
    order.GrilleCount = static_cast<model::int16>(count);
    for (int i = 1; i <= count; ++i)
        order.GrilleAt(i) = {.B = 1000, .H = 1514, .n = 2, .q = 14, .DoubleBelt = model::False16};
}

} // namespace

class CuttingCommandTest : public QObject {
    Q_OBJECT
private slots:
    void opensAfterABuildAndFollowsTheNextBuilds() {
        model::Order order;
        RecordingMessenger messenger;
        FillOrder(order, 1);
        MainWindow main(order, messenger);
        QTemporaryDir folder;
        main.SetStockFile(folder.filePath(QStringLiteral("stock.sqlite")));
        QVERIFY(!Find<QPushButton>(main, "cmdOptimize")->isEnabled());
        Find<QPushButton>(main, "cmdCreate")->setEnabled(true);
        Find<QPushButton>(main, "cmdCreate")->click();
        CuttingWindow& w = main.Cutting();
        QSignalSpy shown(&w, &CuttingWindow::PlanShown);
        Find<QPushButton>(main, "cmdOptimize")->click();
        QVERIFY(w.isVisible());
        QVERIFY(shown.wait(10000));
        QCOMPARE(Find<QTableWidget>(w, "tblPlan")->item(0, 2)->text(),
                 QStringLiteral("1500 × 5 + 1000 × 2"));
        // 11750 mm of stock, the default saw cut of 3 mm and no trim.
        QCOMPARE(Find<QTableWidget>(w, "tblPlan")->item(0, 3)->text(),
                 QString::number(11750 - 7500 - 2000 - 7 * 3));
        // "Склад" shows the store of the build's bar size.
        Find<QPushButton>(w, "cmdStock")->click();
        QWidget* stockWindow = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmStock"))
                stockWindow = top;
        QVERIFY(stockWindow != nullptr && stockWindow->isVisible());
        QCOMPARE(Find<QComboBox>(*stockWindow, "cboBarSize")->currentText(),
                 QStringLiteral("14 мм"));
        // The estimate of the build pays for the bar the plan buys.
        QVERIFY(Find<QLabel>(main.Estimate(), "lblTotals")
                    ->text()
                    .contains(QStringLiteral("по раскрою: прутков 1, 11.75 м")));
        // Its workbook holds the plan as well: Решётки, Резка, Раскрой, Смета.
        messenger.saveAnswers << folder.filePath(QStringLiteral("book.xlsx"));
        Find<QPushButton>(main.Estimate(), "cmdSaveExcel")->click();
        QFile book(folder.filePath(QStringLiteral("book.xlsx")));
        QVERIFY(book.open(QIODevice::ReadOnly));
        QVERIFY(book.readAll().contains("xl/worksheets/sheet4.xml"));

        // "Новый" and a correction change nothing planned until the next build;
        // the build re-plans the open window with the stock length it was opened
        // with, the next opening takes the new one.
        FillOrder(order, 3);
        Find<QPushButton>(main, "cmdONew")->click();
        Find<QPushButton>(main, "cmdOptimize")->click();
        QVERIFY(shown.wait(10000));
        QCOMPARE(w.CurrentPlan().result.plan.piecesLength, 2 * 1000 + 5 * 1500);
        FillOrder(order, 3);
        Find<QLineEdit>(main, "txtLen")->setText(QStringLiteral("6000"));
        Find<QPushButton>(main, "cmdCreate")->click();
        QVERIFY(shown.wait(10000));
        QCOMPARE(w.StockText(), QStringLiteral("11750"));
        QCOMPARE(w.CurrentPlan().result.plan.piecesLength, 3 * (2 * 1000 + 5 * 1500));
        Find<QPushButton>(main, "cmdOptimize")->click();
        QVERIFY(shown.wait(10000));
        QCOMPARE(w.CurrentPlan().result.plan.bars, 6); // at most 5500 mm of these fit 6000
        QVERIFY2(messenger.errors.isEmpty(), qPrintable(messenger.errors.join('\n')));
    }

    void closingTheProgramEndsPlanningAndEveryWindow() {
        model::Order order;
        RecordingMessenger messenger;
        FillOrder(order, 2);
        auto* main = new MainWindow(order, messenger);
        QTemporaryDir folder;
        main->SetStockFile(folder.filePath(QStringLiteral("stock.sqlite")));
        main->show();
        Find<QPushButton>(*main, "cmdChange")->setEnabled(true);
        Find<QPushButton>(*main, "cmdCreate")->setEnabled(true);
        Find<QPushButton>(*main, "cmdCreate")->click();
        Find<QPushButton>(*main, "cmdChange")->click();
        Find<QPushButton>(*main, "cmdShow")->click();
        // A plan that runs until it is stopped.
        main->Cutting().SetPlanner([](const auto& pieces, const auto& s, const auto& control) {
            while (!control.cancel->load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return cutting::PlanCutting(pieces, s);
        });
        Find<QPushButton>(*main, "cmdOptimize")->click();
        QVERIFY(main->Cutting().Planning());
        const QList<QPointer<QWidget>> windows = {&main->Correction(), &main->Materials(),
                                                  &main->Cutting()};
        QVERIFY(main->close());
        for (const QPointer<QWidget>& w : windows)
            QVERIFY(w.isNull() || !w->isVisible());
        QTRY_VERIFY(!main->Cutting().Planning());
        delete main;
        for (const QPointer<QWidget>& w : windows)
            QVERIFY(w.isNull());
        QVERIFY(messenger.errors.isEmpty());
    }
};

RESHETKI_UI_TEST_MAIN(CuttingCommandTest)
#include "cutting_command_test.moc"
