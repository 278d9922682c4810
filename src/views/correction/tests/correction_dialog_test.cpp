// The correction dialog on a small host of its own: what each control writes
// into the current grille and tells the host.

#include "model/errors.h"
#include "model/numbers.h"
#include "model/order.h"
#include "model/sizing.h"
#include "testsupport/order_fixtures.h"
#include "testsupport/ui_test_support.h"
#include "views/correction/correction_dialog.h"
#include "views/correction/correction_host.h"
#include "widgets/spinner.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct FakeHost final : CorrectionHost {
    model::Order order;
    RecordingMessenger messenger;
    int current = 1;
    int recomputed = 0;
    int beltChanged = 0;

    model::Order& Order() override { return order; }
    Messenger& Messages() override { return messenger; }
    model::int16 CurrentGrille() const override {
        return static_cast<model::int16>(model::ToIndex(current));
    }
    void GrilleRecomputed() override { ++recomputed; }
    void BeltChanged() override { ++beltChanged; }

    // Opening i of the given size with side gap `side`, sized as a
    // calculation would.
    void Sized(int i, int width, int height, int side = 0, int quadro = 14) {
        order.Quadro = static_cast<model::int16>(quadro);
        order.OpeningAt(i) = {static_cast<model::int16>(width), static_cast<model::int16>(height),
                              0, 0, static_cast<model::int16>(side)};
        const auto k = static_cast<model::int16>(i);
        model::SizeGrilleFrame(order, k);
        model::SizeGrilleSteps(order, k);
        model::SizeGrilleInserts(order, k);
    }
};

// The grille's width, step, step count and inserts.
QList<int> Shape(const model::Grille& g) {
    return {g.B, g.t, g.n, g.b};
}

} // namespace

class CorrectionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void barsAndStepButtonRecomputeTheCurrentGrille() {
        FakeHost host;
        host.Sized(1, 1000, 1500);
        host.Sized(2, 1000, 1500);
        host.current = 2;
        CorrectionDialog d(host);
        d.Prime();
        QCOMPARE(Shape(host.order.GrilleAt(2)), QList<int>({1000, 164, 6, -13}));

        // The number of steps stays, so a wider side gap goes into the inserts.
        Find<Spinner>(d, "HScroll1")->SetValue(10);
        QCOMPARE(host.order.OpeningAt(2).SideGap, 10);
        QCOMPARE(Find<QLineEdit>(d, "txtNewZLeft")->text(), QStringLiteral("10"));
        QCOMPARE(Shape(host.order.GrilleAt(2)), QList<int>({980, 164, 6, -23}));
        QCOMPARE(host.recomputed, 1);

        Find<QPushButton>(d, "cmdDecStep")->click();
        QCOMPARE(Shape(host.order.GrilleAt(2)), QList<int>({980, 164, 5, 59}));
        Find<Spinner>(d, "HScroll2")->SetValue(150);
        QCOMPARE(Find<QLineEdit>(d, "txtNewStep")->text(), QStringLiteral("150"));
        QCOMPARE(Shape(host.order.GrilleAt(2)), QList<int>({980, 150, 5, 94}));
        QCOMPARE(Shape(host.order.GrilleAt(1)), QList<int>({1000, 164, 6, -13}));
        QVERIFY(host.messenger.errors.isEmpty());
    }

    void primingShowsTrueValuesAndWritesNothing_data() {
        QTest::addColumn<int>("quadro");
        QTest::addColumn<int>("sideGap");
        QTest::addColumn<bool>("sized");
        QTest::addColumn<QString>("stepText");
        QTest::addColumn<int>("stepBar");
        QTest::addColumn<int>("gapBar");
        QTest::newRow("in range") << 14 << 12 << true << "164" << 164 << 12;
        QTest::newRow("bar 21 gives step 171") << 21 << 0 << true << "171" << 170 << 0;
        QTest::newRow("side gap 41") << 14 << 41 << true << "164" << 164 << 40;
        QTest::newRow("side gap -5") << 14 << -5 << true << "164" << 164 << 0;
        QTest::newRow("uncomputed grille") << 14 << 12 << false << "0" << 100 << 12;
    }

    void primingShowsTrueValuesAndWritesNothing() {
        QFETCH(int, quadro);
        QFETCH(int, sideGap);
        QFETCH(bool, sized);
        QFETCH(QString, stepText);
        QFETCH(int, stepBar);
        QFETCH(int, gapBar);
        FakeHost host;
        host.Sized(1, 1000, 1500, sideGap, quadro);
        if (!sized)
            host.order.GrilleAt(1) = {};
        const model::Order before = host.order;
        CorrectionDialog d(host);
        d.Prime();
        QCOMPARE(Find<QLineEdit>(d, "txtNewStep")->text(), stepText);
        QCOMPARE(Find<Spinner>(d, "HScroll2")->Value(), stepBar);
        QCOMPARE(Find<QLineEdit>(d, "txtNewZLeft")->text(), QString::number(sideGap));
        QCOMPARE(Find<Spinner>(d, "HScroll1")->Value(), gapBar);
        QVERIFY(SameTables(host.order, before));
        QCOMPARE(host.recomputed, 0);

        // Moving the other bar writes the true value back as it stands.
        if (stepBar == 170 || stepBar == 100) {
            Find<Spinner>(d, "HScroll1")->SetValue(gapBar == 40 ? 39 : gapBar + 1);
            QCOMPARE(host.order.GrilleAt(1).t, before.GrilleAt(1).t);
        } else {
            Find<Spinner>(d, "HScroll2")->SetValue(stepBar - 1);
            QCOMPARE(int{host.order.OpeningAt(1).SideGap}, sideGap);
            QCOMPARE(int{host.order.GrilleAt(1).t}, stepBar - 1);
        }
        QVERIFY(host.messenger.errors.isEmpty());
    }

    void doubleBeltWritesTheGrilleCurrentAtTheClick() {
        FakeHost host;
        CorrectionDialog d(host);
        Find<QCheckBox>(d, "chkDouble")->click();
        QCOMPARE(host.order.GrilleAt(1).DoubleBelt, model::True16);
        QCOMPARE(host.beltChanged, 1);
        // The box keeps its state when the grille changes.
        host.current = 2;
        d.Prime();
        QVERIFY(Find<QCheckBox>(d, "chkDouble")->isChecked());
        Find<QCheckBox>(d, "chkDouble")->click();
        QCOMPARE(host.order.GrilleAt(2).DoubleBelt, model::False16);
        QCOMPARE(host.order.GrilleAt(1).DoubleBelt, model::True16);
        QCOMPARE(host.beltChanged, 2);
    }

    void runTimeErrorsAreReportedAndWriteNothing() {
        FakeHost host;
        host.Sized(1, 1000, 1500);
        host.order.GrilleAt(1).n = -32768;
        CorrectionDialog d(host);
        const model::Order before = host.order;
        Find<QPushButton>(d, "cmdDecStep")->click();
        host.current = 61;
        Find<Spinner>(d, "HScroll1")->SetValue(20);
        Find<QCheckBox>(d, "chkDouble")->click();
        QVERIFY(SameTables(host.order, before));
        QCOMPARE(host.messenger.errors.size(), 3);
        QVERIFY(host.messenger.errors[0].startsWith(QStringLiteral("Переполнение")));
        QVERIFY(host.messenger.errors[1].startsWith(QStringLiteral("Индекс")));
        QCOMPARE(host.recomputed + host.beltChanged, 0);
    }

    void tabWalksTheLayoutOrder() {
        FakeHost host;
        CorrectionDialog d(host);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        Find<QLineEdit>(d, "txtNewZLeft")->setFocus();
        QCOMPARE(TabChain(6), QStringList({"chkDouble", "HScroll1", "txtNewStep", "HScroll2",
                                           "cmdDecStep", "txtNewZLeft"}));
    }
};

RESHETKI_UI_TEST_MAIN(CorrectionDialogTest)
#include "correction_dialog_test.moc"
