#include "testsupport/program.h"
#include "widgets/click_area.h"

#include <QtTest>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    void calculationDrawsCurrentGrilleAndFailureKeepsIt() {
        Program p;
        // The first paint finds grille 1 empty and draws nothing.
        p.main.PaintGrille();
        QVERIFY(Find<GrillePicture>(p.main, "Picture1")->Bars().empty());

        p.Opening(1, 1000, 1500);
        p.Calculate(1);
        const auto plan = drawing::PlanGrille(p.order, 1, 3375, 2295);
        QVERIFY(plan.cleared);
        QCOMPARE(Find<GrillePicture>(p.main, "Picture1")->Bars(), plan.bars);
        // Height binds: the frame's top left corner is at (1022.5, 150) twips,
        // inside the two-pixel border.
        QCOMPARE(Find<GrillePicture>(p.main, "Picture1")->PixelBox(plan.bars[0]).topLeft(),
                 QPoint(68 + 2, 10 + 2));

        // Without a scale (here: height 0) the old drawing stays.
        p.order.GrilleAt(1).H = 0;
        p.main.DrawGrille(1);
        QCOMPARE(Find<GrillePicture>(p.main, "Picture1")->Bars(), plan.bars);
        QVERIFY(p.messenger.errors.isEmpty());
    }

    void paintRenewsDrawingWithoutLoop() {
        Program p;
        PaintCounter counter;
        Find<GrillePicture>(p.main, "Picture1")->installEventFilter(&counter);
        p.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.main));
        p.Opening(1, 1000, 1500);
        p.Calculate(1);
        QTest::qWait(50);

        // A repaint with nothing changed paints once and then stays quiet.
        counter.paints = 0;
        p.main.repaint();
        QTest::qWait(50);
        const int settled = counter.paints;
        QTest::qWait(100);
        QCOMPARE(counter.paints, settled);

        // A grille changed behind the drawing's back shows at the next repaint.
        p.order.GrilleAt(1).n = 3;
        p.main.repaint();
        QTest::qWait(50);
        QCOMPARE(Find<GrillePicture>(p.main, "Picture1")->Bars().size(), 6u + 2u);
        p.main.hide();
    }

    void imageClickGreets() {
        Program p;
        p.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.main));
        QTest::mouseClick(Find<ClickArea>(p.main, "Image1"), Qt::LeftButton);
        QCOMPARE(p.messenger.infos,
                 QStringList{QStringLiteral("KX: Hello!!! :))) How are you??? ;)")});
        p.main.hide();
    }
};

RESHETKI_UI_TEST_MAIN(DrawingTest)
#include "drawing_test.moc"
