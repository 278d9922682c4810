#include "program.h"

#include <QSignalSpy>
#include <QtTest>

class GrillePanelTest : public QObject {
    Q_OBJECT

private slots:
    void warningColours_data();
    void warningColours();
    void nestedRefreshEnds();
    void spinnerStaysWithinTables_data();
    void spinnerStaysWithinTables();
};

void GrillePanelTest::warningColours_data() {
    QTest::addColumn<int>("B");
    QTest::addColumn<bool>("doubleBelt");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("widthRed");
    QTest::addColumn<bool>("insertsRed");

    QTest::newRow("B 1500") << 1500 << false << 60 << false << false;
    QTest::newRow("B 1501") << 1501 << false << 60 << true << false;
    QTest::newRow("B 1501 double belt") << 1501 << true << 60 << false << false;
    QTest::newRow("b -1") << 1000 << false << -1 << false << true;
    QTest::newRow("b 0") << 1000 << false << 0 << false << false;
    QTest::newRow("b 39") << 1000 << false << 39 << false << true;
    QTest::newRow("b 40") << 1000 << false << 40 << false << false;
    QTest::newRow("b 144") << 1000 << false << 144 << false << false;
    QTest::newRow("b 145") << 1000 << false << 145 << false << true;
}

void GrillePanelTest::warningColours() {
    QFETCH(int, B);
    QFETCH(bool, doubleBelt);
    QFETCH(int, b);
    QFETCH(bool, widthRed);
    QFETCH(bool, insertsRed);

    Program p;
    // Start from the opposite colours, so that each must be set.
    model::Grille& g = p.order.GrilleAt(1);
    g.B = static_cast<model::int16>(widthRed ? 1000 : 2000);
    g.b = static_cast<model::int16>(insertsRed ? 60 : 10);
    p.main.SetGratingInfo(1);
    QCOMPARE(Program::Red(p.main.txtPWidth), !widthRed);
    QCOMPARE(Program::Red(p.main.txtPAdd), !insertsRed);

    g.B = static_cast<model::int16>(B);
    g.DoubleBelt = doubleBelt ? model::True16 : model::False16;
    g.b = static_cast<model::int16>(b);
    p.main.SetGratingInfo(1);
    QCOMPARE(Program::Red(p.main.txtPWidth), widthRed);
    QCOMPARE(Program::Red(p.main.txtPAdd), insertsRed);
    for (QLineEdit* box : {p.main.txtPHeight, p.main.txtPStep, p.main.txtPStepCount})
        QVERIFY(!Program::Red(box));
}

void GrillePanelTest::nestedRefreshEnds() {
    // Showing another grille changes the width once: the nested refresh that
    // this sets off finds every text in place.
    Program p;
    p.Opening(1, 1000, 1500);
    p.Opening(2, 1700, 1400, 10, 10, 5);
    p.Calculate(2);
    QSignalSpy widths(p.main.txtPWidth, &QLineEdit::textChanged);
    QSignalSpy numbers(p.main.txtPNumber, &QLineEdit::textChanged);
    p.main.vsrPNumber->SetValue(2);
    QCOMPARE(widths.count(), 1);
    QCOMPARE(numbers.count(), 1);
    QCOMPARE(p.Panel(), QStringList({"1690", "1380", "164", "10", "4"}));
    QVERIFY(Program::Red(p.main.txtPWidth));
    QVERIFY(p.messenger.errors.isEmpty());
}

void GrillePanelTest::spinnerStaysWithinTables_data() {
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("min");
    QTest::addColumn<QString>("number");

    QTest::newRow("before any calculation") << QList<int>{} << 1 << "1";
    QTest::newRow("count 3 then 0") << QList<int>{3, 0} << 1 << "1";
    QTest::newRow("count 3 then 2") << QList<int>{3, 2} << 2 << "2";
    QTest::newRow("count 60") << QList<int>{60} << 60 << "60";
}

void GrillePanelTest::spinnerStaysWithinTables() {
    QFETCH(QList<int>, counts);
    QFETCH(int, min);
    QFETCH(QString, number);

    Program p;
    for (int count : counts) { // the first count picks its last grille
        p.Calculate(count);
        if (count >= counts[0])
            p.main.vsrPNumber->SetValue(counts[0]);
    }
    QCOMPARE(p.main.vsrPNumber->Min(), min);
    QCOMPARE(p.main.vsrPNumber->Max(), 1);
    QCOMPARE(p.main.txtPNumber->text(), number);
    // Every value the spinner can reach lies in 1..60.
    p.main.vsrPNumber->SetValueClamped(-100);
    QVERIFY(p.main.vsrPNumber->Value() >= 1);
    p.main.vsrPNumber->SetValueClamped(100);
    QVERIFY(p.main.vsrPNumber->Value() <= 60);
    QVERIFY(p.messenger.errors.isEmpty());
}

RESHETKI_UI_TEST_MAIN(GrillePanelTest)
#include "grille_panel_test.moc"
