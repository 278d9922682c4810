#include "program.h"

#include "forms/widgets/twips.h"

#include <QtTest>

class FrmChangeTest : public QObject {
    Q_OBJECT

private slots:
    void startsInItsLayout();
    void scrollBarsAndStepButtonRecomputeAndSideGapSurvivesCalculation();
    void spinnerPrimesPanelDrawingAndDialogWithoutWriting();
    void outOfRangeValuesShowTrueText_data();
    void outOfRangeValuesShowTrueText();
    void doubleBeltTurnsWidthColour();
    void removingStepsEmptiesDrawingThenOverflowIsReported();
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

void FrmChangeTest::scrollBarsAndStepButtonRecomputeAndSideGapSurvivesCalculation() {
    Program p;
    p.Opening(1, 1000, 1500);
    p.Calculate(1);
    FrmChange& d = p.Dialog();
    QCOMPARE(p.Panel(), QStringList({"1000", "1500", "164", "6", "-13"}));

    d.HScroll1->SetValue(10);
    QCOMPARE(p.order.OpeningAt(1).SideGap, 10);
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "164", "6", "-23"}));
    QCOMPARE(d.txtNewZLeft->text(), QStringLiteral("10"));
    QCOMPARE(p.main.Picture1->Bars(), p.Planned(1));

    d.cmdDecStep->click();
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "164", "5", "59"}));
    QCOMPARE(p.main.Picture1->Bars(), p.Planned(1));
    d.HScroll2->SetValue(150);
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "150", "5", "94"}));
    QCOMPARE(d.txtNewStep->text(), QStringLiteral("150"));
    d.cmdDecStep->click();
    QCOMPARE(p.Grille(1).n, 4);

    // A new calculation keeps the side gap and starts again from step 164.
    p.main.cmdOK->click();
    QCOMPARE(p.order.OpeningAt(1).SideGap, 10);
    QCOMPARE(p.Panel(), QStringList({"980", "1500", "164", "5", "59"}));
    QCOMPARE(d.txtNewStep->text(), QStringLiteral("164"));
    QCOMPARE(d.HScroll2->Value(), 164);
    QCOMPARE(d.HScroll1->Value(), 10);
    QVERIFY(p.messenger.errors.isEmpty());
}

void FrmChangeTest::spinnerPrimesPanelDrawingAndDialogWithoutWriting() {
    Program p;
    p.Opening(1, 1000, 1500, 0, 0, 5);
    p.Opening(2, 2400, 900, 10, 10, 20);
    p.Opening(3, 600, 2000, 50, 50, 35);
    p.Calculate(3);
    FrmChange& d = p.Dialog();
    QVERIFY(!d.isVisible());   // the dialog follows whether or not it is shown
    d.HScroll2->SetValue(150); // grille 1 now has its own step
    const Tables before(p.order);

    for (int m : {3, 2, 1, 2}) {
        p.main.vsrPNumber->SetValue(m);
        QCOMPARE(Tables(p.order), before);
        const model::Grille& g = p.Grille(m);
        const int gap = p.order.OpeningAt(m).SideGap;
        QCOMPARE(p.main.txtPNumber->text(), QString::number(m));
        QCOMPARE(p.Panel(),
                 QStringList({QString::number(g.B), QString::number(g.H), QString::number(g.t),
                              QString::number(g.n), QString::number(g.b)}));
        QVERIFY(!p.main.Picture1->Bars().empty());
        QCOMPARE(p.main.Picture1->Bars(), p.Planned(m));
        QCOMPARE(d.txtNewStep->text(), QString::number(g.t));
        QCOMPARE(d.txtNewZLeft->text(), QString::number(gap));
        QCOMPARE(d.HScroll2->Value(), int{g.t});
        QCOMPARE(d.HScroll1->Value(), gap);
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
    QTest::addColumn<int>("gapBar");

    QTest::newRow("bar 21 gives step 171") << 21 << 0 << true << "171" << 170 << 0;
    QTest::newRow("side gap 41") << 14 << 41 << true << "164" << 164 << 40;
    QTest::newRow("side gap -5") << 14 << -5 << true << "164" << 164 << 0;
    QTest::newRow("uncomputed grille") << 14 << 12 << false << "0" << 100 << 12;
}

void FrmChangeTest::outOfRangeValuesShowTrueText() {
    QFETCH(int, quadro);
    QFETCH(int, sideGap);
    QFETCH(bool, calculate);
    QFETCH(QString, stepText);
    QFETCH(int, stepBar);
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
    QCOMPARE(d.txtNewZLeft->text(), QString::number(sideGap));
    QCOMPARE(d.HScroll1->Value(), gapBar);
    QVERIFY(Tables(p.order) == before);

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

void FrmChangeTest::removingStepsEmptiesDrawingThenOverflowIsReported() {
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

    p.order.GrilleAt(1).n = -32768;
    const Tables before(p.order);
    d.cmdDecStep->click();
    QCOMPARE(Tables(p.order), before);
    QCOMPARE(p.messenger.errors.size(), 1);
    QVERIFY(p.messenger.errors[0].startsWith(QStringLiteral("Переполнение")));
}

void FrmChangeTest::correctionButtonFollowsVisibility() {
    Program p;
    p.Opening(1, 1000, 1500, 0, 0, 8);
    p.Calculate(1);
    p.main.cmdChange->click();
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
