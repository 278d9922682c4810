// "Оптимизировать": the cutting window opens on the order's cut lists and
// follows the report builds.

#include "main_window/main_window.h"
#include "testsupport/ui_test_support.h"
#include "views/cutting/cutting_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

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
    void opensAfterABuildAndFollowsTheNextBuilds();
};

void CuttingCommandTest::opensAfterABuildAndFollowsTheNextBuilds() {
    model::Order order;
    RecordingMessenger messenger;
    FillOrder(order, 1);
    MainWindow main(order, messenger);
    QVERIFY(!main.cmdOptimize->isEnabled());
    main.cmdCreate->setEnabled(true);
    main.cmdCreate->click();
    main.cmdOptimize->click();
    CuttingWindow& w = main.Cutting();
    QVERIFY(w.isVisible());
    QCOMPARE(w.tblPlan->rowCount(), 1);
    QCOMPARE(w.tblPlan->item(0, 1)->text(), QStringLiteral("1500 × 5 + 1000 × 2"));
    // 11750 mm of stock, the default saw cut of 3 mm and no trim.
    QCOMPARE(w.tblPlan->item(0, 2)->text(), QString::number(11750 - 7500 - 2000 - 7 * 3));

    // The order grows to three grilles; the next build re-plans the open
    // window with the stock length it was opened with, the next opening
    // takes the new one.
    FillOrder(order, 3);
    main.txtLen->setText(QStringLiteral("6000"));
    main.cmdCreate->click();
    QCOMPARE(w.txtStock->text(), QStringLiteral("11750"));
    QCOMPARE(w.CurrentPlan().piecesLength, 3LL * (2 * 1000 + 5 * 1500));
    main.cmdOptimize->click();
    QCOMPARE(w.CurrentPlan().bars, 6); // at most 5500 mm of these pieces fit a 6000 bar
    QVERIFY(messenger.errors.isEmpty());
}

RESHETKI_UI_TEST_MAIN(CuttingCommandTest)
#include "cutting_command_test.moc"
