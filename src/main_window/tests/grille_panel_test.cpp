#include "testsupport/program.h"

#include <QPointer>

#include <QSignalSpy>
#include <QtTest>

class GrillePanelTest : public QObject {
    Q_OBJECT

private slots:
    void warningColours() {
        // The rules' edges are the model's; here each colour is set and
        // cleared, and no other box turns red.
        Program p;
        const struct {
            model::int16 B, b;
            bool widthRed, insertsRed;
        } rows[] = {{1501, 60, true, false}, {1500, 39, false, true}, {1500, 60, false, false}};
        for (const auto& row : rows) {
            p.order.GrilleAt(1).B = row.B;
            p.order.GrilleAt(1).b = row.b;
            p.main.ShowGrille(1);
            QCOMPARE(Program::Red(Find<QLineEdit>(p.main, "txtPWidth")), row.widthRed);
            QCOMPARE(Program::Red(Find<QLineEdit>(p.main, "txtPAdd")), row.insertsRed);
            for (const char* box : {"txtPHeight", "txtPStep", "txtPStepCount"})
                QVERIFY(!Program::Red(Find<QLineEdit>(p.main, box)));
        }
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
        QCOMPARE(p.Panel(), QStringList({"1690", "1380", "164", "10", "4", "164", "5"}));
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
            QCOMPARE(p.Panel(), p.Holds(m));
            QCOMPARE(Find<GrillePicture>(p.main, "Picture1")->Bars(), p.Planned(m));
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
        QCOMPARE(p.order.GrilleAt(1).t, 160);
        second.hide();
        QVERIFY(p.messenger.errors.isEmpty());
    }
};

RESHETKI_UI_TEST_MAIN(GrillePanelTest)
#include "grille_panel_test.moc"
