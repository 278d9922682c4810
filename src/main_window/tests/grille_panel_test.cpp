#include "testsupport/program.h"

#include <QPointer>

#include <QSignalSpy>
#include <QtTest>

class GrillePanelTest : public QObject {
    Q_OBJECT

private slots:
    void warningColours_data() {
        QTest::addColumn<int>("B");
        QTest::addColumn<bool>("doubleBelt");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("widthRed");
        QTest::addColumn<bool>("insertsRed");

        // The rules' edges are the model's; here each is shown, or not.
        QTest::newRow("within both") << 1500 << false << 60 << false << false;
        QTest::newRow("too wide") << 1501 << false << 60 << true << false;
        QTest::newRow("inserts too narrow") << 1000 << false << 39 << false << true;
    }

    void warningColours() {
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
        p.main.ShowGrille(1);
        QCOMPARE(Program::Red(Find<QLineEdit>(p.main, "txtPWidth")), !widthRed);
        QCOMPARE(Program::Red(Find<QLineEdit>(p.main, "txtPAdd")), !insertsRed);

        g.B = static_cast<model::int16>(B);
        g.DoubleBelt = doubleBelt ? model::True16 : model::False16;
        g.b = static_cast<model::int16>(b);
        p.main.ShowGrille(1);
        QCOMPARE(Program::Red(Find<QLineEdit>(p.main, "txtPWidth")), widthRed);
        QCOMPARE(Program::Red(Find<QLineEdit>(p.main, "txtPAdd")), insertsRed);
        for (QLineEdit* box :
             {Find<QLineEdit>(p.main, "txtPHeight"), Find<QLineEdit>(p.main, "txtPStep"),
              Find<QLineEdit>(p.main, "txtPStepCount")})
            QVERIFY(!Program::Red(box));
    }

    void nestedRefreshEnds() {
        // Showing another grille changes the width once: the nested refresh that
        // this sets off finds every text in place.
        Program p;
        p.Opening(1, 1000, 1500);
        p.Opening(2, 1700, 1400, 10, 10, 5);
        p.Calculate(2);
        QSignalSpy widths(Find<QLineEdit>(p.main, "txtPWidth"), &QLineEdit::textChanged);
        QSignalSpy numbers(Find<QLineEdit>(p.main, "txtPNumber"), &QLineEdit::textChanged);
        Find<Spinner>(p.main, "vsrPNumber")->SetValue(2);
        QCOMPARE(widths.count(), 1);
        QCOMPARE(numbers.count(), 1);
        QCOMPARE(p.Panel(), QStringList({"1690", "1380", "164", "10", "4"}));
        QVERIFY(Program::Red(Find<QLineEdit>(p.main, "txtPWidth")));
        QVERIFY(p.messenger.errors.isEmpty());
    }

    void spinnerShowsPanelDrawingAndDialogWithoutWriting() {
        Program p;
        p.Opening(1, 1000, 1500, 0, 0, 5);
        p.Opening(2, 2400, 900, 10, 10, 20);
        p.Opening(3, 600, 2000, 50, 50, 35);
        p.Calculate(3);
        CorrectionDialog& d = p.Dialog();
        QVERIFY(!d.isVisible()); // the dialog follows whether or not it is shown
        const model::Order before = p.order;
        for (int m : {3, 2, 1, 2}) {
            Find<Spinner>(p.main, "vsrPNumber")->SetValue(m);
            const model::Grille& g = p.Grille(m);
            QCOMPARE(p.Panel(),
                     QStringList({QString::number(g.B), QString::number(g.H), QString::number(g.t),
                                  QString::number(g.n), QString::number(g.b)}));
            QCOMPARE(Find<GrillePicture>(p.main, "Picture1")->Bars(), p.Planned(m));
            QCOMPARE(Find<QLineEdit>(d, "txtNewStep")->text(), QString::number(g.t));
            QCOMPARE(Find<QLineEdit>(d, "txtNewZLeft")->text(),
                     QString::number(p.order.OpeningAt(m).SideGap));
        }
        QVERIFY(SameTables(p.order, before));
        // A corrected side gap survives the next calculation, which starts the
        // step afresh and primes the dialog again.
        Find<Spinner>(d, "HScroll1")->SetValue(33);
        Find<Spinner>(d, "HScroll2")->SetValue(150);
        Find<QPushButton>(p.main, "cmdOK")->click();
        QCOMPARE(p.order.OpeningAt(2).SideGap, 33);
        QCOMPARE(p.order.OpeningAt(1).SideGap, 5);
        QCOMPARE(Find<QLineEdit>(d, "txtNewStep")->text(), QStringLiteral("164"));
        QCOMPARE(Find<Spinner>(d, "HScroll1")->Value(), 33);
        QVERIFY(p.messenger.errors.isEmpty());
    }

    void dialogCorrectionsReachPanelAndDrawing() {
        Program p;
        p.Opening(1, 1600, 1500);
        p.Opening(2, 200, 1500); // B 200: one step
        p.Calculate(2);
        CorrectionDialog& d = p.Dialog();
        QVERIFY(Program::Red(Find<QLineEdit>(p.main, "txtPWidth")));
        Find<QCheckBox>(d, "chkDouble")->click();
        QVERIFY(!Program::Red(Find<QLineEdit>(p.main, "txtPWidth")));

        Find<Spinner>(p.main, "vsrPNumber")->SetValue(2);
        Find<QPushButton>(d, "cmdDecStep")->click();
        QCOMPARE(Find<QLineEdit>(p.main, "txtPStepCount")->text(), QStringLiteral("0"));
        QVERIFY(Find<GrillePicture>(p.main, "Picture1")->Bars().empty());
        QVERIFY(p.messenger.errors.isEmpty());
    }

    void correctionButtonFollowsVisibility() {
        Program p;
        p.Opening(1, 1000, 1500, 0, 0, 8);
        p.Calculate(1);
        Find<QPushButton>(p.main, "cmdChange")->click();
        QPointer<CorrectionDialog> first = &p.Dialog();
        QVERIFY(first->isVisible());
        Find<QPushButton>(p.main, "cmdChange")->click();
        QVERIFY(!first->isVisible());
        QVERIFY(p.main.HasCorrection());
        Find<QPushButton>(p.main, "cmdChange")->click();
        QVERIFY(first->isVisible());

        // Closed through its frame, the dialog is unloaded; the next press loads
        // it again for the current grille and shows it, and moving one of its
        // bars keeps the other value.
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QVERIFY(!p.main.HasCorrection());
        Find<QPushButton>(p.main, "cmdChange")->click();
        CorrectionDialog& second = p.Dialog();
        QVERIFY(second.isVisible());
        Find<Spinner>(second, "HScroll2")->SetValue(160);
        QCOMPARE(p.order.OpeningAt(1).SideGap, 8);
        QCOMPARE(p.Grille(1).t, 160);
        second.hide();
        QVERIFY(p.messenger.errors.isEmpty());
    }
};

RESHETKI_UI_TEST_MAIN(GrillePanelTest)
#include "grille_panel_test.moc"
