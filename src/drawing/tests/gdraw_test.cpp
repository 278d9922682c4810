#include "drawing/grille_geometry.h"
#include "drawing/grille_picture.h"
#include "forms/main/frm_main.h"
#include "forms/widgets/click_area.h"
#include "testsupport/ui_test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct Program {
    model::Order order;
    RecordingMessenger messenger;
    FrmMain main{order, messenger};

    void Calculate(int width, int height) {
        main.txtWidth->setText(QString::number(width));
        main.txtHeight->setText(QString::number(height));
        main.cmdOK->click();
    }
    const std::vector<drawing::Bar>& Bars() const { return main.Picture1->Bars(); }
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

bool IsBlack(const QImage& image, QPoint at) {
    return image.pixelColor(at) == QColor(Qt::black);
}

} // namespace

class GDrawTest : public QObject {
    Q_OBJECT

private slots:
    void pictureHasLaidOutSize();
    void calculationDrawsCurrentGrille();
    void failureKeepsOrClearsPicture_data();
    void failureKeepsOrClearsPicture();
    void paintRenewsDrawingWithoutLoop();
    void barsArePaintedBlack();
    void imageClickGreets();
};

void GDrawTest::pictureHasLaidOutSize() {
    Program p;
    QCOMPARE(p.main.Picture1->OuterWidthTwips(), 3375.0f);
    QCOMPARE(p.main.Picture1->OuterHeightTwips(), 2295.0f);
    // The first paint finds grille 1 empty and draws nothing.
    p.main.Form_Paint();
    QVERIFY(p.Bars().empty());
}

void GDrawTest::calculationDrawsCurrentGrille() {
    Program p;
    p.Calculate(1000, 1500);
    const auto plan = drawing::PlanGrille(p.order, 1, 3375, 2295);
    QVERIFY(plan.cleared);
    QCOMPARE(p.Bars(), plan.bars);
    // Height binds: the frame's top left corner is at (1022.5, 150) twips,
    // inside the two-pixel border.
    QCOMPARE(p.main.Picture1->PixelBox(p.Bars()[0]).topLeft(), QPoint(68 + 2, 10 + 2));
}

void GDrawTest::failureKeepsOrClearsPicture_data() {
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("kept");

    QTest::newRow("height 0 keeps the old drawing") << 0 << 6 << 1.0 << true;
    QTest::newRow("grille number 61 keeps it") << 1500 << 6 << 61.0 << true;
    QTest::newRow("no steps clears it") << 1500 << 0 << 1.0 << false;
}

void GDrawTest::failureKeepsOrClearsPicture() {
    QFETCH(int, H);
    QFETCH(int, n);
    QFETCH(double, number);
    QFETCH(bool, kept);

    Program p;
    p.Calculate(1000, 1500);
    const auto before = p.Bars();
    QVERIFY(!before.empty());
    p.order.GrilleAt(1).H = static_cast<model::int16>(H);
    p.order.GrilleAt(1).n = static_cast<model::int16>(n);
    p.main.GDraw(number);
    if (kept)
        QCOMPARE(p.Bars(), before);
    else
        QVERIFY(p.Bars().empty());
    QVERIFY(p.messenger.errors.isEmpty());
}

void GDrawTest::paintRenewsDrawingWithoutLoop() {
    Program p;
    PaintCounter counter;
    p.main.Picture1->installEventFilter(&counter);
    p.main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.main));
    p.Calculate(1000, 1500);
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
    QCOMPARE(p.Bars().size(), 6u + 2u);
    p.main.hide();
}

void GDrawTest::barsArePaintedBlack() {
    Program p;
    p.main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.main));
    p.Calculate(3000, 1000); // width binds: frame from (150, 635) twips
    const QImage image = p.main.Picture1->grab().toImage();
    const QRect frame =
        p.main.Picture1->PixelBox(p.Bars()[0]).united(p.main.Picture1->PixelBox(p.Bars()[1]));
    QCOMPARE(frame.topLeft(), QPoint(10 + 2, 42 + 2));
    QVERIFY(IsBlack(image, frame.topLeft()));
    QVERIFY(IsBlack(image, frame.bottomRight()));
    QVERIFY(!IsBlack(image, frame.topLeft() - QPoint(1, 1)));
    QVERIFY(!IsBlack(image, frame.bottomRight() + QPoint(1, 1)));

    // Hidden and shown again, the picture still shows the grille.
    p.main.hide();
    p.main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.main));
    QCOMPARE(p.main.Picture1->grab().toImage(), image);
    p.main.hide();
}

void GDrawTest::imageClickGreets() {
    Program p;
    p.main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.main));
    QTest::mouseClick(p.main.Image1, Qt::LeftButton);
    QCOMPARE(p.messenger.infos, QStringList{QStringLiteral("KX: Hello!!! :))) How are you??? ;)")});
    p.main.hide();
}

RESHETKI_UI_TEST_MAIN(GDrawTest)
#include "gdraw_test.moc"
