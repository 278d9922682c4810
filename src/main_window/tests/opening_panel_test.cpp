// The main window's start state and its opening panel, driven as a user
// drives them: typing into boxes, clicking spinner arrows and buttons.

#include "testsupport/program.h"

#include <QTest>

#include <algorithm>
#include <memory>

namespace {

void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// A click on the spinner's up or down arrow.
void Up(Spinner* s) {
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 3));
}
void Down(Spinner* s) {
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 4));
}

} // namespace

class OpeningPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ModalGuard> guard;
    std::unique_ptr<Program> p;
    MainWindow* w = nullptr;
    model::Order* order = nullptr;
    RecordingMessenger* messenger = nullptr;

private slots:
    void init() {
        guard = std::make_unique<ModalGuard>();
        p = std::make_unique<Program>();
        w = &p->main;
        order = &p->order;
        messenger = &p->messenger;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void cleanup() {
        p.reset();
        QVERIFY2(guard->Seen().isEmpty(), qPrintable(guard->Seen().join(", ")));
        guard.reset();
    }

    void startState() {
        // The load step: count 1 from its spinner, bar size 14 in the order.
        QCOMPARE(Find<QLineEdit>(*w, "txtCount")->text(), QStringLiteral("1"));
        QCOMPARE(order->Quadro, 14);
        const QWidget* disabled[] = {
            Find<QPushButton>(*w, "cmdCreate"), Find<QPushButton>(*w, "cmdPrint"),
            Find<QPushButton>(*w, "cmdShow"),   Find<QPushButton>(*w, "cmdOptimize"),
            Find<QPushButton>(*w, "cmdChange"), Find<QPushButton>(*w, "cmdOOpen"),
            Find<QPushButton>(*w, "cmdOSave"),  Find<QLineEdit>(*w, "txtOPrice")};
        for (const QWidget* c : disabled)
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        // The number spinner cannot move while the count is 1.
        Up(Find<Spinner>(*w, "vsrNumber"));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QStringLiteral("1"));
    }

    void tabWalksTheLayoutOrder() {
        // Disabled controls are skipped and take their place once enabled.
        QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(*w, "txtCount"));
        const QStringList start = {
            "vsrCount",   "txtNumber",     "vsrNumber", "txtWidth",   "txtHeight",  "txtZTop",
            "txtZDown",   "txtZLeft",      "txtQuadro", "cmdOK",      "txtPWidth",  "txtPHeight",
            "txtPStep",   "txtPStepCount", "txtPAdd",   "txtPNumber", "vsrPNumber", "cmdToAll",
            "txtONumber", "cmdONew",       "Picture1",  "lstReport1", "txtLen",     "txtCount"};
        QCOMPARE(TabChain(static_cast<int>(start.size())), start);
        Find<QPushButton>(*w, "cmdChange")->setEnabled(true);
        Find<QLineEdit>(*w, "txtONumber")->setText(QStringLiteral("1"));
        QStringList enabled = start;
        enabled.insert(enabled.indexOf("txtONumber"), "cmdChange");
        enabled.insert(enabled.indexOf("cmdONew"), "cmdOOpen");
        enabled.insert(enabled.indexOf("Picture1"), "cmdOSave");
        QCOMPARE(TabChain(static_cast<int>(enabled.size())), enabled);
    }

    void spinnersCascade() {
        // Up from 1: the count is 2, the number may now reach 2 and shows it.
        Up(Find<Spinner>(*w, "vsrCount"));
        QCOMPARE(Find<QLineEdit>(*w, "txtCount")->text(), QStringLiteral("2"));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QStringLiteral("1"));
        order->SetOpeningWidth(2, 777);
        Up(Find<Spinner>(*w, "vsrNumber"));
        QCOMPARE(Find<QLineEdit>(*w, "txtWidth")->text(), QStringLiteral("777"));
        // Count 3 with opening 3 shown, count down: the number follows to 2.
        Up(Find<Spinner>(*w, "vsrCount"));
        Up(Find<Spinner>(*w, "vsrNumber"));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QStringLiteral("3"));
        Down(Find<Spinner>(*w, "vsrCount"));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QStringLiteral("2"));
        QCOMPARE(Find<QLineEdit>(*w, "txtWidth")->text(), QStringLiteral("777"));
        // The count spinner stops at 60 and 0; the number never leaves 1..60.
        for (int k = 0; k < 70; ++k)
            Up(Find<Spinner>(*w, "vsrCount"));
        QCOMPARE(Find<QLineEdit>(*w, "txtCount")->text(), QStringLiteral("60"));
        for (int k = 0; k < 70; ++k)
            Down(Find<Spinner>(*w, "vsrCount"));
        QCOMPARE(Find<QLineEdit>(*w, "txtCount")->text(), QStringLiteral("0"));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QStringLiteral("1"));
    }

    void typedCountKeepsTheNumberInTheTables_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("min");
        QTest::newRow("zero") << "0" << 1;
        QTest::newRow("within") << "12" << 12;
        QTest::newRow("above_tables") << "100" << 60;
    }
    void typedCountKeepsTheNumberInTheTables() {
        QFETCH(QString, count);
        QFETCH(int, min);
        Type(Find<QLineEdit>(*w, "txtCount"), count);
        QCOMPARE(Find<Spinner>(*w, "vsrNumber")->Min(), min);
        QCOMPARE(Find<Spinner>(*w, "vsrNumber")->Max(), 1);
        for (int k = 0; k < 70; ++k)
            Up(Find<Spinner>(*w, "vsrNumber"));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QString::number(min));
        QVERIFY(messenger->errors.isEmpty());
        // Typing a count does not move the count spinner.
        QCOMPARE(Find<Spinner>(*w, "vsrCount")->Value(), 1);
    }

    void everyKeystrokeStores() {
        // Each box stores into its own field of the opening shown, and the
        // grille waits for the next calculation.
        order->GrilleAt(1).B = 42;
        Type(Find<QLineEdit>(*w, "txtWidth"), "1200");
        Type(Find<QLineEdit>(*w, "txtHeight"), "1300");
        Type(Find<QLineEdit>(*w, "txtZTop"), "-5");
        Type(Find<QLineEdit>(*w, "txtZDown"), "2.5");
        Type(Find<QLineEdit>(*w, "txtZLeft"), "12a");
        Type(Find<QLineEdit>(*w, "txtQuadro"), "16");
        QVERIFY(order->OpeningAt(1) == (model::Opening{1200, 1300, -5, 2, 12}));
        QCOMPARE(order->GrilleAt(1).B, 42);
        QCOMPARE(order->Quadro, 16);
        QVERIFY(messenger->errors.isEmpty());
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
        const model::Opening before = order->OpeningAt(1);
        messenger->Clear();
        auto* edit = w->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        Type(edit, text);
        QVERIFY(!messenger->errors.isEmpty());
        QCOMPARE(edit->text(), text);
        const model::Opening expected =
            box == "txtWidth" ? model::Opening{12345, 1500, 10, 10, 10} : before;
        QVERIFY(order->OpeningAt(1) == expected);
        QCOMPARE(order->Quadro, box == "txtQuadro" ? model::int16{1} : model::int16{14});
    }

    void applyToAllWritesTheCountedOpenings() {
        p->Opening(4, 444, 444, 4, 4, 4);
        Type(Find<QLineEdit>(*w, "txtCount"), "3");
        p->Opening(2, 1000, 1500, 10, 10, 10);
        Type(Find<QLineEdit>(*w, "txtQuadro"), "20");
        QTest::mouseClick(Find<QPushButton>(*w, "cmdToAll"), Qt::LeftButton);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(order->OpeningAt(i) == (model::Opening{1000, 1500, 10, 10, 10}));
        QVERIFY(order->OpeningAt(4) == (model::Opening{444, 444, 4, 4, 4}));
        QCOMPARE(Find<QLineEdit>(*w, "txtNumber")->text(), QStringLiteral("2"));
        QVERIFY(order->GrilleAt(1) == model::Grille{});
        // A count beyond the tables writes up to 60 and reports the rest.
        Type(Find<QLineEdit>(*w, "txtCount"), "61");
        QTest::mouseClick(Find<QPushButton>(*w, "cmdToAll"), Qt::LeftButton);
        QCOMPARE(order->OpeningAt(60).Width, 1000);
        QCOMPARE(messenger->errors.size(), 1);
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
            order->SetOpeningWidth(static_cast<model::int16>(i), 1000);
            order->SetOpeningHeight(static_cast<model::int16>(i), 1500);
        }
        order->GrilleAt(3).DoubleBelt = model::True16;
        order->GrilleCount = 7;
        Type(Find<QLineEdit>(*w, "txtCount"), QString::number(count));
        messenger->Clear();
        QTest::mouseClick(Find<QPushButton>(*w, "cmdOK"), Qt::LeftButton);

        for (int i = 1; i <= 60; ++i)
            QCOMPARE(order->GrilleAt(i).B, i <= sized ? 1000 : 0);
        QCOMPARE(order->GrilleAt(3).DoubleBelt, model::True16);
        QCOMPARE(order->GrilleCount, fails ? 7 : count);
        QCOMPARE(Find<Spinner>(*w, "vsrPNumber")->Min(),
                 std::clamp(count, 1, 60)); // the grilles to step through
        QCOMPARE(messenger->errors.size(), fails ? 1 : 0);
        QCOMPARE(Find<QPushButton>(*w, "cmdChange")->isEnabled(), !fails);
        QCOMPARE(Find<QPushButton>(*w, "cmdCreate")->isEnabled(), !fails);
        if (!fails)
            QCOMPARE(Find<QLineEdit>(*w, "txtPWidth")->text(),
                     sized > 0 ? QStringLiteral("1000") : QStringLiteral("0"));
    }

    void calculationStopsAtAnOverflowingGrille() {
        Type(Find<QLineEdit>(*w, "txtCount"), "3");
        p->Opening(1, 1000, 1500);
        p->Opening(2, 32000, 1500, 0, 0, -1000); // B = 32000 + 2000 overflows
        p->Opening(3, 1000, 1500);
        messenger->Clear();
        QTest::mouseClick(Find<QPushButton>(*w, "cmdOK"), Qt::LeftButton);
        QCOMPARE(messenger->errors.size(), 1);
        QVERIFY(messenger->errors.first().contains(QStringLiteral("Переполнение")));
        QCOMPARE(order->GrilleAt(1).B, 1000);
        QVERIFY(order->GrilleAt(2) == model::Grille{});
        QVERIFY(order->GrilleAt(3) == model::Grille{});
        QCOMPARE(order->GrilleCount, 0);
        QVERIFY(!Find<QPushButton>(*w, "cmdCreate")->isEnabled());
    }
};

RESHETKI_UI_TEST_MAIN(OpeningPanelTest)
#include "opening_panel_test.moc"
