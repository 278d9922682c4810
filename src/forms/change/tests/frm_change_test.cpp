#include "program.h"

#include "forms/widgets/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include <memory>

class FrmChangeTest : public QObject {
    Q_OBJECT

private slots:
    void startsInItsLayout();
    void workedExample();
    void scrollBarRecomputes_data();
    void scrollBarRecomputes();
    void primingWritesNothing();
    void outOfRangeValuesShowTrueText_data();
    void outOfRangeValuesShowTrueText();
    void doubleBeltTurnsWidthColour();
    void sideGapSurvivesCalculation();
    void removingLastStepEmptiesDrawing();
    void removingStepBelowRangeIsReported();
    void correctionButtonFollowsVisibility();
};

void FrmChangeTest::startsInItsLayout() {
    Program p;
    FrmChange dialog(p.main);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Корректировка"));
    QVERIFY(dialog.windowFlags().testFlag(Qt::Tool));
    QVERIFY(!dialog.parentWidget());
    QCOMPARE(dialog.minimumSize(), QSize(Px(3210), Px(3585)));
    QCOMPARE(dialog.maximumSize(), dialog.minimumSize());
    // The start state that priming replaces.
    QVERIFY(dialog.txtNewZLeft->text().isEmpty() && dialog.txtNewStep->text().isEmpty());
    QVERIFY(dialog.txtNewZLeft->isReadOnly() && dialog.txtNewStep->isReadOnly());
    QCOMPARE(dialog.HScroll1->Value(), 0);
    QCOMPARE(dialog.HScroll2->Value(), 100);
    QVERIFY(!dialog.chkDouble->isChecked());
}

void FrmChangeTest::workedExample() {
    Program p;
    p.Opening(1, 1000, 1500);
    p.Calculate(1);
    FrmChange& d = p.Dialog();
    QCOMPARE(p.Panel(), QStringList({"1000", "1500", "164", "6", "-13"}));
    QCOMPARE(d.txtNewStep->text(), QStringLiteral("164"));
    QCOMPARE(d.txtNewZLeft->text(), QStringLiteral("0"));
    QCOMPARE(d.HScroll2->Value(), 164);

    d.HScroll1->SetValue(10);
    QCOMPARE(p.order.OpeningAt(1).SideGap, 10);
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "164", "6", "-23"}));
    QCOMPARE(d.txtNewZLeft->text(), QStringLiteral("10"));
    QCOMPARE(p.main.Picture1->Bars(), p.Planned(1));

    d.cmdDecStep->click();
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "164", "5", "59"}));
    QCOMPARE(p.main.Picture1->Bars(), p.Planned(1));
    QVERIFY(p.messenger.errors.isEmpty());
}

void FrmChangeTest::scrollBarRecomputes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("panel");
    QTest::addColumn<int>("sideGap");

    // Width 1000 starts with b = (1000 - 14 - 6 * 164) / 2 - 14 = -13.
    QTest::newRow("step 164 to 160 raises b by 12")
        << 1000 << 2 << 160 << QStringList{"1000", "1500", "160", "6", "-1"} << 0;
    QTest::newRow("side gap one right: B -2, b -1")
        << 1002 << 1 << 1 << QStringList{"1000", "1500", "164", "6", "-13"} << 1;
    // (998 - 14 - 984) / 2 - 14 = -14 = -q: no inserts.
    QTest::newRow("side gap to no inserts")
        << 1000 << 1 << 1 << QStringList{"998", "1500", "164", "6", "0"} << 1;
}

void FrmChangeTest::scrollBarRecomputes() {
    QFETCH(int, width);
    QFETCH(int, bar);
    QFETCH(int, value);
    QFETCH(QStringList, panel);
    QFETCH(int, sideGap);
    Program p;
    p.Opening(1, width, 1500);
    p.Calculate(1);
    FrmChange& d = p.Dialog();
    (bar == 1 ? d.HScroll1 : d.HScroll2)->SetValue(value);
    QCOMPARE(p.Panel(), panel);
    QCOMPARE(p.order.OpeningAt(1).SideGap, sideGap);
    QCOMPARE(d.txtNewStep->text(), panel[2]);
    QVERIFY(p.messenger.errors.isEmpty());
}

void FrmChangeTest::primingWritesNothing() {
    // Three grilles whose steps and side gaps all differ; the dialog is
    // moved through them and primed directly while it shows another grille.
    Program p;
    p.Opening(1, 1000, 1500, 0, 0, 5);
    p.Opening(2, 1200, 1400, 10, 10, 20);
    p.Opening(3, 900, 1300, 0, 0, 35);
    p.Calculate(3);
    FrmChange& d = p.Dialog();
    d.HScroll2->SetValue(150); // grille 1 now has its own step
    const Tables before(p.order);

    for (int m : {3, 2, 1, 2}) {
        p.main.vsrPNumber->SetValue(m);
        QCOMPARE(Tables(p.order), before);
        QCOMPARE(d.txtNewStep->text(), QString::number(p.Grille(m).t));
        QCOMPARE(d.txtNewZLeft->text(), QString::number(p.order.OpeningAt(m).SideGap));
        QCOMPARE(d.HScroll2->Value(), int{p.Grille(m).t});
        QCOMPARE(d.HScroll1->Value(), int{p.order.OpeningAt(m).SideGap});
    }
    d.HScroll1->SetValue(33);
    const Tables moved(p.order);
    p.main.PrimeChangeDialog(2);
    QCOMPARE(Tables(p.order), moved);
    p.main.cmdOK->click(); // the calculation primes the dialog as well
    QCOMPARE(p.order.OpeningAt(2).SideGap, 33);
    QCOMPARE(p.order.OpeningAt(1).SideGap, 5);
    QVERIFY(p.messenger.errors.isEmpty());
}

void FrmChangeTest::outOfRangeValuesShowTrueText_data() {
    QTest::addColumn<int>("quadro");
    QTest::addColumn<int>("sideGap");
    QTest::addColumn<bool>("calculate");
    QTest::addColumn<QString>("stepText");
    QTest::addColumn<int>("stepBar");
    QTest::addColumn<QString>("gapText");
    QTest::addColumn<int>("gapBar");

    QTest::newRow("bar 25 gives step 175") << 25 << 0 << true << "175" << 170 << "0" << 0;
    QTest::newRow("bar 21 gives step 171") << 21 << 0 << true << "171" << 170 << "0" << 0;
    QTest::newRow("bar 20 gives step 170") << 20 << 0 << true << "170" << 170 << "0" << 0;
    QTest::newRow("side gap 41") << 14 << 41 << true << "164" << 164 << "41" << 40;
    QTest::newRow("side gap -5") << 14 << -5 << true << "164" << 164 << "-5" << 0;
    QTest::newRow("uncomputed grille") << 14 << 12 << false << "0" << 100 << "12" << 12;
}

void FrmChangeTest::outOfRangeValuesShowTrueText() {
    QFETCH(int, quadro);
    QFETCH(int, sideGap);
    QFETCH(bool, calculate);
    QFETCH(QString, stepText);
    QFETCH(int, stepBar);
    QFETCH(QString, gapText);
    QFETCH(int, gapBar);

    Program p;
    p.main.txtQuadro->setText(QString::number(quadro));
    p.Opening(1, 1000, 1500, 0, 0, sideGap);
    if (calculate)
        p.Calculate(1);
    const Tables before(p.order);
    FrmChange& d = p.Dialog();
    p.main.PrimeChangeDialog(1);
    QCOMPARE(d.txtNewStep->text(), stepText);
    QCOMPARE(d.HScroll2->Value(), stepBar);
    QCOMPARE(d.txtNewZLeft->text(), gapText);
    QCOMPARE(d.HScroll1->Value(), gapBar);
    QVERIFY(Tables(p.order) == before);
    QVERIFY(p.messenger.errors.isEmpty());

    // Moving the other bar writes the true value back as it stands.
    const model::int16 step = p.Grille(1).t;
    if (stepBar == 170 || stepBar == 100) {
        d.HScroll1->SetValue(gapBar == 40 ? 39 : gapBar + 1);
        QCOMPARE(p.Grille(1).t, step);
    } else {
        d.HScroll2->SetValue(stepBar - 1);
        QCOMPARE(p.order.OpeningAt(1).SideGap, sideGap);
        QCOMPARE(int{p.Grille(1).t}, stepBar - 1);
    }
    QVERIFY(p.messenger.errors.isEmpty());
}

void FrmChangeTest::doubleBeltTurnsWidthColour() {
    Program p;
    p.Opening(1, 1600, 1500);
    p.Opening(2, 1000, 1500);
    p.Calculate(2);
    FrmChange& d = p.Dialog();
    QVERIFY(Program::Red(p.main.txtPWidth));

    d.chkDouble->click();
    QCOMPARE(p.Grille(1).DoubleBelt, model::True16);
    QVERIFY(!Program::Red(p.main.txtPWidth));
    QCOMPARE(p.main.txtPWidth->text(), QStringLiteral("1600"));

    // The box keeps its state when the grille changes; a click writes the
    // grille that is current then.
    p.main.vsrPNumber->SetValue(2);
    QVERIFY(d.chkDouble->isChecked());
    d.chkDouble->click();
    QCOMPARE(p.Grille(2).DoubleBelt, model::False16);
    QCOMPARE(p.Grille(1).DoubleBelt, model::True16);
    p.main.vsrPNumber->SetValue(1);
    d.chkDouble->click();
    QCOMPARE(p.Grille(1).DoubleBelt, model::True16);
    d.chkDouble->click();
    QCOMPARE(p.Grille(1).DoubleBelt, model::False16);
    QVERIFY(Program::Red(p.main.txtPWidth));
}

void FrmChangeTest::sideGapSurvivesCalculation() {
    Program p;
    p.Opening(1, 1000, 1500);
    p.Calculate(1);
    FrmChange& d = p.Dialog();
    d.HScroll1->SetValue(10);
    d.HScroll2->SetValue(150);
    d.cmdDecStep->click();
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "150", "5", "94"}));
    d.cmdDecStep->click();
    QCOMPARE(p.Grille(1).n, 4);

    p.main.cmdOK->click();
    QCOMPARE(p.order.OpeningAt(1).SideGap, 10);
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "164", "5", "59"}));
    QCOMPARE(d.txtNewStep->text(), QStringLiteral("164"));
    QCOMPARE(d.HScroll2->Value(), 164);
    QCOMPARE(d.HScroll1->Value(), 10);
}

void FrmChangeTest::removingLastStepEmptiesDrawing() {
    Program p;
    p.Opening(1, 200, 1500); // B 200, n = 186 div 164 = 1
    p.Calculate(1);
    QCOMPARE(p.Grille(1).n, 1);
    QVERIFY(!p.main.Picture1->Bars().empty());
    FrmChange& d = p.Dialog();

    d.cmdDecStep->click();
    QCOMPARE(p.main.txtPStepCount->text(), QStringLiteral("0"));
    QVERIFY(p.main.Picture1->Bars().empty());

    // Below zero the frame and the insert bars come back, without inner bars.
    d.cmdDecStep->click();
    QCOMPARE(p.Grille(1).n, -1);
    QCOMPARE(p.main.Picture1->Bars().size(), p.Grille(1).b != 0 ? 6u : 4u);
    QVERIFY(p.messenger.errors.isEmpty());
}

void FrmChangeTest::removingStepBelowRangeIsReported() {
    Program p;
    p.Opening(1, 1000, 1500);
    p.Calculate(1);
    FrmChange& d = p.Dialog();
    p.order.GrilleAt(1).n = -32768;
    const Tables before(p.order);
    d.cmdDecStep->click();
    QCOMPARE(Tables(p.order), before);
    QCOMPARE(p.messenger.errors.size(), 1);
    QVERIFY(p.messenger.errors[0].startsWith(QStringLiteral("Переполнение")));
}

void FrmChangeTest::correctionButtonFollowsVisibility() {
    Program p;
    QVERIFY(!p.main.cmdChange->isEnabled());
    p.Opening(1, 1000, 1500, 0, 0, 8);
    p.Calculate(1);
    QVERIFY(p.main.cmdChange->isEnabled());

    p.main.cmdChange->click();
    QVERIFY(p.main.hasChangeDialog());
    QPointer<FrmChange> first = &p.Dialog();
    QVERIFY(first->isVisible());
    p.main.cmdChange->click();
    QVERIFY(!first->isVisible());
    QVERIFY(p.main.hasChangeDialog());
    p.main.cmdChange->click();
    QVERIFY(first->isVisible());

    // Closed through its frame, the dialog is unloaded; the next press loads
    // it again for the current grille and shows it.
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QVERIFY(!p.main.hasChangeDialog());
    p.main.cmdChange->click();
    FrmChange& second = p.Dialog();
    QVERIFY(second.isVisible());
    QCOMPARE(second.txtNewZLeft->text(), QStringLiteral("8"));
    QCOMPARE(second.txtNewStep->text(), QStringLiteral("164"));

    // Moving a bar of the reloaded dialog keeps the side gap.
    second.HScroll2->SetValue(160);
    QCOMPARE(p.order.OpeningAt(1).SideGap, 8);
    QCOMPARE(p.Grille(1).t, 160);
    second.hide();
    QVERIFY(p.messenger.errors.isEmpty());
}

RESHETKI_UI_TEST_MAIN(FrmChangeTest)
#include "frm_change_test.moc"
