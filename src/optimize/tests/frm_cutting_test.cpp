#include "forms/main/frm_main.h"
#include "optimize/frm_cutting.h"
#include "testsupport/ui_test_support.h"

#include <QLabel>
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

FrmCutting* CuttingWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* c = qobject_cast<FrmCutting*>(w))
            return c;
    return nullptr;
}

} // namespace

class CuttingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { messenger_.clear(); }
    void opensAfterABuildAndFollowsTheNextBuilds();
    void plansWhatTheBoxesSay_data();
    void plansWhatTheBoxesSay();

private:
    RecordingMessenger messenger_;
};

void CuttingWindowTest::opensAfterABuildAndFollowsTheNextBuilds() {
    model::Order order;
    FillOrder(order, 1);
    FrmMain main(order, messenger_);
    QVERIFY(!main.cmdOptimize->isEnabled());
    main.cmdOptimize->click();
    QVERIFY(CuttingWindow() == nullptr);

    main.cmdCreate->setEnabled(true);
    main.cmdCreate->click();
    main.cmdOptimize->click();
    FrmCutting* w = CuttingWindow();
    QVERIFY(w != nullptr);
    QVERIFY(w->txtStock->isReadOnly());
    QCOMPARE(w->tblPlan->rowCount(), 1);
    QCOMPARE(w->tblPlan->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(w->tblPlan->item(0, 1)->text(), QStringLiteral("1500 × 5 + 1000 × 2"));
    // 11750 mm of stock, the default saw cut of 3 mm and no trim.
    QCOMPARE(w->tblPlan->item(0, 2)->text(), QString::number(11750 - 7500 - 2000 - 7 * 3));

    // The order grows to three grilles; the next build re-plans the open
    // window with the stock length it was opened with, the next opening
    // takes the new one.
    FillOrder(order, 3);
    main.txtLen->setText(QStringLiteral("6000"));
    main.cmdCreate->click();
    QCOMPARE(w->txtStock->text(), QStringLiteral("11750"));
    QCOMPARE(w->plan().piecesLength, 3LL * (2 * 1000 + 5 * 1500));
    QVERIFY(w->plan().optimal);
    main.cmdOptimize->click();
    QCOMPARE(w->plan().bars, 6); // at most 5500 mm of these pieces fit a 6000 bar
    QVERIFY(messenger_.errors.isEmpty());
    delete w;
}

void CuttingWindowTest::plansWhatTheBoxesSay_data() {
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("kerf");
    QTest::addColumn<QString>("trim");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("error");
    const auto row = [](const char* name, const char* stock, const char* kerf, const char* trim,
                        int bars, const char* error) {
        QTest::newRow(name) << QString(stock) << QString(kerf) << QString(trim) << bars
                            << QString::fromUtf8(error);
    };
    // Two 3000 pieces and five 2986 pieces: four fit 12000 without saw cuts.
    row("fits two bars", "12000", "0", "0", 2, "");
    row("kerf needs a third", "12000", "20", "0", 3, "");
    row("stock from text", "6000", "0", "0", 4, "");
    row("stock not a number", "abc", "3", "0", 0, "Длина плети");
    row("stock fractional", "6000.5", "3", "0", 0, "Длина плети");
    row("negative kerf", "6000", "-1", "0", 0, "Ширина реза");
    row("trim too long", "6000", "0", "1600", 0, "Решетка №1");
}

void CuttingWindowTest::plansWhatTheBoxesSay() {
    QFETCH(QString, stock);
    QFETCH(QString, kerf);
    QFETCH(QString, trim);
    QFETCH(int, bars);
    QFETCH(QString, error);
    FrmCutting w(messenger_);
    w.txtKerf->setText(kerf);
    w.txtTrim->setText(trim);
    w.Plan({{1, cutting::PieceKind::Horizontal, 3000, 2},
            {1, cutting::PieceKind::Vertical, 2986, 1},
            {2, cutting::PieceKind::Vertical, 2986, 4}},
           stock);
    QCOMPARE(w.plan().bars, bars);
    QCOMPARE(w.hasPlan(), error.isEmpty());
    QCOMPARE(w.cmdPrint->isEnabled(), error.isEmpty());
    if (error.isEmpty()) {
        QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join('\n')));
    } else {
        QCOMPARE(messenger_.errors.size(), 1);
        QVERIFY2(messenger_.errors[0].contains(error), qPrintable(messenger_.errors[0]));
        QCOMPARE(w.tblPlan->rowCount(), 0);
    }
}

RESHETKI_UI_TEST_MAIN(CuttingWindowTest)
#include "frm_cutting_test.moc"
