// The main window's start state and its opening panel, driven as a user
// drives them: typing into boxes, clicking spinner arrows and buttons.

#include "testsupport/program.h"

#include <QTest>

#include <algorithm>
#include <memory>

class OpeningPanelTest : public QObject {
    Q_OBJECT

private:
    QString Text(const char* box) const { return Find<QLineEdit>(p->main, box)->text(); }
    Spinner* Spin(const char* name) const { return Find<Spinner>(p->main, name); }
    void Click(const char* button) {
        QTest::mouseClick(Find<QPushButton>(p->main, button), Qt::LeftButton);
    }
    // Types over the box's text, key by key.
    void Type(const char* box, const QString& text) {
        Find<QLineEdit>(p->main, box)->selectAll();
        QTest::keyClicks(Find<QLineEdit>(p->main, box), text);
    }
    // Clicks the spinner's up (or down) arrow `times` times.
    void Up(const char* name, int times = 1, bool up = true) {
        Spinner* s = Spin(name);
        const QPoint arrow(s->width() / 2, up ? 3 : s->height() - 4);
        for (int k = 0; k < times; ++k)
            QTest::mouseClick(s, Qt::LeftButton, {}, arrow);
    }
    void Down(const char* name, int times = 1) { Up(name, times, false); }

    std::unique_ptr<Program> p;

private slots:
    void init() {
        p = std::make_unique<Program>();
        p->main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p->main));
    }

    void cleanup() { p.reset(); }

    void startState() {
        // The load step: count 1 from its spinner, bar size 14 in the order.
        QCOMPARE(Text("txtCount"), QStringLiteral("1"));
        QCOMPARE(p->order.Quadro, 14);
        for (const char* name : {"cmdCreate", "cmdPrint", "cmdShow", "cmdOptimize", "cmdChange",
                                 "cmdOOpen", "cmdOSave", "txtOPrice"})
            QVERIFY2(!Find<QWidget>(p->main, name)->isEnabled(), name);
        // The number spinner cannot move while the count is 1.
        Up("vsrNumber");
        QCOMPARE(Text("txtNumber"), QStringLiteral("1"));
    }

    void tabWalksTheLayoutOrder() {
        // Disabled controls are skipped and take their place once enabled.
        QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(p->main, "txtCount"));
        const QStringList start = {
            "vsrCount",   "txtNumber",     "vsrNumber", "txtWidth",   "txtHeight",  "txtZTop",
            "txtZDown",   "txtZLeft",      "txtQuadro", "cmdOK",      "txtPWidth",  "txtPHeight",
            "txtPStep",   "txtPStepCount", "txtPAdd",   "txtPNumber", "vsrPNumber", "cmdToAll",
            "txtONumber", "cmdONew",       "Picture1",  "lstReport1", "txtLen",     "txtCount"};
        QCOMPARE(TabChain(static_cast<int>(start.size())), start);
        Find<QPushButton>(p->main, "cmdChange")->setEnabled(true);
        Find<QLineEdit>(p->main, "txtONumber")->setText(QStringLiteral("1"));
        QStringList enabled = start;
        enabled.insert(enabled.indexOf("txtONumber"), "cmdChange");
        enabled.insert(enabled.indexOf("cmdONew"), "cmdOOpen");
        enabled.insert(enabled.indexOf("Picture1"), "cmdOSave");
        QCOMPARE(TabChain(static_cast<int>(enabled.size())), enabled);
    }

    void spinnersCascade() {
        // Up from 1: the count is 2, the number may now reach 2 and shows it.
        Up("vsrCount");
        QCOMPARE(Text("txtCount"), QStringLiteral("2"));
        QCOMPARE(Text("txtNumber"), QStringLiteral("1"));
        p->order.SetOpeningWidth(2, 777);
        Up("vsrNumber");
        QCOMPARE(Text("txtWidth"), QStringLiteral("777"));
        // Count 3 with opening 3 shown, count down: the number follows to 2.
        Up("vsrCount");
        Up("vsrNumber");
        QCOMPARE(Text("txtNumber"), QStringLiteral("3"));
        Down("vsrCount");
        QCOMPARE(Text("txtNumber"), QStringLiteral("2"));
        QCOMPARE(Text("txtWidth"), QStringLiteral("777"));
        // The count spinner stops at 60 and 0.
        Up("vsrCount", 70);
        QCOMPARE(Text("txtCount"), QStringLiteral("60"));
        Down("vsrCount", 70);
        QCOMPARE(Text("txtCount"), QStringLiteral("0"));
    }

    void typedCountKeepsTheNumberInTheTables_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("min");
        QTest::newRow("zero") << "0" << 1;
        QTest::newRow("above_tables") << "100" << 60;
    }
    void typedCountKeepsTheNumberInTheTables() {
        QFETCH(QString, count);
        QFETCH(int, min);
        Type("txtCount", count);
        QCOMPARE(Spin("vsrNumber")->Min(), min);
        QCOMPARE(Spin("vsrNumber")->Max(), 1);
        Up("vsrNumber", 70);
        QCOMPARE(Text("txtNumber"), QString::number(min));
        QVERIFY(p->messenger.errors.isEmpty());
        // Typing a count does not move the count spinner.
        QCOMPARE(Spin("vsrCount")->Value(), 1);
    }

    void everyKeystrokeStores() {
        // Each box stores into its own field of the opening shown, and the
        // grille waits for the next calculation.
        p->order.GrilleAt(1).B = 42;
        Type("txtWidth", "1200");
        Type("txtHeight", "1300");
        Type("txtZTop", "-5");
        Type("txtZDown", "2.5");
        Type("txtZLeft", "12a");
        Type("txtQuadro", "16");
        QVERIFY(p->order.OpeningAt(1) == (model::Opening{1200, 1300, -5, 2, 12}));
        QCOMPARE(p->order.GrilleAt(1).B, 42);
        QCOMPARE(p->order.Quadro, 16);
        QVERIFY(p->messenger.errors.isEmpty());
    }

    void runTimeErrorsAreReportedAndKeepTheText_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("width_overflow") << "txtWidth" << "123456";
        QTest::newRow("number_outside_tables") << "txtNumber" << "61";
        QTest::newRow("quadro_overflow") << "txtQuadro" << "1e9";
        // clang-format on
    }
    void runTimeErrorsAreReportedAndKeepTheText() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        p->Opening(1, 1000, 1500, 10, 10, 10);
        const model::Opening before = p->order.OpeningAt(1);
        p->messenger.Clear();
        Type(qPrintable(box), text);
        QVERIFY(!p->messenger.errors.isEmpty());
        QCOMPARE(Text(qPrintable(box)), text);
        const model::Opening expected =
            box == "txtWidth" ? model::Opening{12345, 1500, 10, 10, 10} : before;
        QVERIFY(p->order.OpeningAt(1) == expected);
        QCOMPARE(p->order.Quadro, box == "txtQuadro" ? model::int16{1} : model::int16{14});
    }

    void applyToAllWritesTheCountedOpenings() {
        p->Opening(4, 444, 444, 4, 4, 4);
        Type("txtCount", "3");
        p->Opening(2, 1000, 1500, 10, 10, 10);
        Type("txtQuadro", "20");
        Click("cmdToAll");
        for (int i = 1; i <= 3; ++i)
            QVERIFY(p->order.OpeningAt(i) == (model::Opening{1000, 1500, 10, 10, 10}));
        QVERIFY(p->order.OpeningAt(4) == (model::Opening{444, 444, 4, 4, 4}));
        QCOMPARE(Text("txtNumber"), QStringLiteral("2"));
        QVERIFY(p->order.GrilleAt(1) == model::Grille{});
        // A count beyond the tables writes up to 60 and reports the rest.
        Type("txtCount", "61");
        Click("cmdToAll");
        QCOMPARE(p->order.OpeningAt(60).Width, 1000);
        QCOMPARE(p->messenger.errors.size(), 1);
    }

    void calculation_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("sized");
        QTest::addColumn<bool>("fails");
        QTest::newRow("none") << 0 << 0 << false;
        QTest::newRow("three") << 3 << 3 << false;
        QTest::newRow("sixty") << 60 << 60 << false;
        QTest::newRow("sixty_one") << 61 << 60 << true;
    }
    void calculation() {
        QFETCH(int, count);
        QFETCH(int, sized);
        QFETCH(bool, fails);
        for (int i = 1; i <= 60; ++i) {
            p->order.SetOpeningWidth(static_cast<model::int16>(i), 1000);
            p->order.SetOpeningHeight(static_cast<model::int16>(i), 1500);
        }
        p->order.GrilleAt(3).DoubleBelt = model::True16;
        p->order.GrilleCount = 7;
        Type("txtCount", QString::number(count));
        p->messenger.Clear();
        Click("cmdOK");

        for (int i = 1; i <= 60; ++i)
            QCOMPARE(p->order.GrilleAt(i).B, i <= sized ? 1000 : 0);
        QCOMPARE(p->order.GrilleAt(3).DoubleBelt, model::True16);
        QCOMPARE(p->order.GrilleCount, fails ? 7 : count);
        // The grille spinner steps through the grilles sized.
        QCOMPARE(Spin("vsrPNumber")->Min(), std::clamp(count, 1, 60));
        QCOMPARE(p->messenger.errors.size(), fails ? 1 : 0);
        QCOMPARE(Find<QPushButton>(p->main, "cmdChange")->isEnabled(), !fails);
        QCOMPARE(Find<QPushButton>(p->main, "cmdCreate")->isEnabled(), !fails);
        if (!fails)
            QCOMPARE(Text("txtPWidth"), sized > 0 ? QStringLiteral("1000") : QStringLiteral("0"));
    }

    void calculationStopsAtAnOverflowingGrille() {
        Type("txtCount", "3");
        p->Opening(1, 1000, 1500);
        p->Opening(2, 32000, 1500, 0, 0, -1000); // B = 32000 + 2000 overflows
        p->Opening(3, 1000, 1500);
        p->messenger.Clear();
        Click("cmdOK");
        QCOMPARE(p->messenger.errors.size(), 1);
        QVERIFY(p->messenger.errors.first().contains(QStringLiteral("Переполнение")));
        QCOMPARE(p->order.GrilleAt(1).B, 1000);
        QVERIFY(p->order.GrilleAt(2) == model::Grille{});
        QVERIFY(p->order.GrilleAt(3) == model::Grille{});
        QCOMPARE(p->order.GrilleCount, 0);
        QVERIFY(!Find<QPushButton>(p->main, "cmdCreate")->isEnabled());
    }
};

RESHETKI_UI_TEST_MAIN(OpeningPanelTest)
#include "opening_panel_test.moc"
