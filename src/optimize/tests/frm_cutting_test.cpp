#include "forms/main/frm_main.h"
#include "optimize/frm_cutting.h"
#include "testsupport/ui_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

// Grilles 1..count: width B, height H, n steps, single belt with q = 14.
void FillOrder(model::Order& order, int count, model::int16 b, model::int16 h, model::int16 n) {
    order.GrilleCount = static_cast<model::int16>(count);
    for (int i = 1; i <= count; ++i) {
        model::Grille& g = order.GrilleAt(i);
        g.B = b;
        g.H = h;
        g.n = n;
        g.q = 14;
        g.DoubleBelt = model::False16;
    }
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
    void startsDisabledAndOpensAfterABuild();
    void plansWhatTheBoxesSay_data();
    void plansWhatTheBoxesSay();
    void followsANewReportBuild();

private:
    RecordingMessenger messenger_;
};

void CuttingWindowTest::startsDisabledAndOpensAfterABuild() {
    model::Order order;
    FillOrder(order, 1, 1000, 1514, 2); // 2 x 1000 and 5 x 1500
    FrmMain main(order, messenger_);
    QVERIFY(!main.cmdOptimize->isEnabled());
    main.cmdOptimize->click();
    QVERIFY(CuttingWindow() == nullptr);

    main.cmdCreate_Click();
    QVERIFY(main.cmdOptimize->isEnabled());
    main.cmdOptimize->click();
    FrmCutting* w = CuttingWindow();
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Раскрой"));
    QCOMPARE(w->txtStock->text(), QStringLiteral("11750"));
    QCOMPARE(w->txtKerf->text(), QStringLiteral("3"));
    QCOMPARE(w->txtTrim->text(), QStringLiteral("0"));
    QVERIFY(w->txtStock->isReadOnly());
    QVERIFY(w->hasPlan());
    QCOMPARE(w->plan().bars, 1);
    QCOMPARE(w->tblPlan->rowCount(), 1);
    QCOMPARE(w->tblPlan->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(w->tblPlan->item(0, 1)->text(), QStringLiteral("1500 × 5 + 1000 × 2"));
    QCOMPARE(w->tblPlan->item(0, 2)->text(), QString::number(11750 - 7500 - 2000 - 7 * 3));
    QCOMPARE(w->lblStatus->text(), QStringLiteral("оптимально"));
    QVERIFY(w->cmdPrint->isEnabled());
    QVERIFY(messenger_.errors.isEmpty());
}

void CuttingWindowTest::plansWhatTheBoxesSay_data() {
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("kerf");
    QTest::addColumn<QString>("trim");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("error");
    // Two 3000 pieces and five 2986 pieces: four fit 12000 without saw cuts.
    QTest::newRow("fits two bars") << "12000"
                                   << "0"
                                   << "0" << 2 << "";
    QTest::newRow("kerf needs a third") << "12000"
                                        << "20"
                                        << "0" << 3 << "";
    QTest::newRow("stock from text") << "6000"
                                     << "0"
                                     << "0" << 4 << "";
    QTest::newRow("stock not a number") << "abc"
                                        << "3"
                                        << "0" << 0 << "Длина плети";
    QTest::newRow("stock fractional") << "6000.5"
                                      << "3"
                                      << "0" << 0 << "Длина плети";
    QTest::newRow("negative kerf") << "6000"
                                   << "-1"
                                   << "0" << 0 << "Ширина реза";
    QTest::newRow("trim too long") << "6000"
                                   << "0"
                                   << "1600" << 0 << "Решетка №1";
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
    if (error.isEmpty()) {
        QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join('\n')));
        QCOMPARE(w.plan().bars, bars);
        QVERIFY(w.cmdPrint->isEnabled());
    } else {
        QCOMPARE(messenger_.errors.size(), 1);
        QVERIFY2(messenger_.errors[0].contains(error), qPrintable(messenger_.errors[0]));
        QVERIFY(!w.hasPlan());
        QCOMPARE(w.tblPlan->rowCount(), 0);
        QVERIFY(!w.cmdPrint->isEnabled());
    }
}

void CuttingWindowTest::followsANewReportBuild() {
    model::Order order;
    FillOrder(order, 1, 1000, 1514, 2);
    FrmMain main(order, messenger_);
    main.cmdCreate->setEnabled(true);
    main.cmdCreate->click();
    main.txtLen->setText(QStringLiteral("6000"));
    main.cmdOptimize->click();
    FrmCutting* w = CuttingWindow();
    QVERIFY(w != nullptr);
    QCOMPARE(w->plan().bars, 2);
    // The order grows to three grilles; the next build re-plans the open
    // window with the stock length it was opened with.
    FillOrder(order, 3, 1000, 1514, 2);
    main.txtLen->setText(QStringLiteral("11750"));
    main.cmdCreate->click();
    QCOMPARE(w->txtStock->text(), QStringLiteral("6000"));
    QCOMPARE(w->plan().piecesLength, 3LL * (2 * 1000 + 5 * 1500));
    QVERIFY(w->plan().optimal);
    QVERIFY(messenger_.errors.isEmpty());
    delete w;
}

RESHETKI_UI_TEST_MAIN(CuttingWindowTest)
#include "frm_cutting_test.moc"
