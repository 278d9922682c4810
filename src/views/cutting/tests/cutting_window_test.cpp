// The cutting window on its own: what it plans from its boxes and tables,
// that the plan on show is a value, and planning off the user-interface
// thread with progress and "Стоп".

#include "optimize/cutting.h"
#include "testsupport/ui_test_support.h"
#include "views/cutting/cutting_window.h"
#include "views/cutting/length_table.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>
#include <thread>

namespace {

using cutting::CutItem;
constexpr auto H = cutting::PieceKind::Horizontal;
constexpr auto V = cutting::PieceKind::Vertical;

// Two 3000 pieces and five 2986 pieces: four fit 12000 without saw cuts.
const std::vector<CutItem> Pieces = {{1, H, 3000, 2}, {1, V, 2986, 1}, {2, V, 2986, 4}};

// Stands in for a long plan: tells of a plan of 9 bars over a bound of 7 at
// once, then works until it is stopped and hands in a real plan, unproven.
cutting::Result LongPlan(const std::vector<CutItem>& pieces, const cutting::Settings& s,
                         const cutting::Control& control) {
    control.progress({9, 9LL * s.stock, 7, 7LL * s.stock, 0.5});
    while (!control.cancel->load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    cutting::Result result = cutting::PlanCutting(pieces, s);
    result.plan.optimal = false;
    return result;
}

// Types a row into the empty row at the bottom of the window's table.
void Add(const CuttingWindow& w, const char* name, const QString& length, const QString& count) {
    LengthTable* table = Find<LengthTable>(w, name);
    const int row = table->rowCount() - 1;
    table->setItem(row, 0, new QTableWidgetItem(length));
    table->setItem(row, 1, new QTableWidgetItem(count));
}

QString Label(const CuttingWindow& w, const char* name) {
    return Find<QLabel>(w, name)->text();
}

} // namespace

class CuttingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { messenger_.Clear(); }
    void plansWhatTheBoxesSay_data() {
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QString>("kerf");
        QTest::addColumn<QString>("trim");
        QTest::addColumn<int>("bars");
        QTest::addColumn<QString>("error");
        // A refusal of the window's own boxes, and one of the planner's: the
        // planner's other refusals are its own tests' cases.
        // clang-format off
        QTest::newRow("fits two bars") << "12000" << "0" << "0" << 2 << "";
        QTest::newRow("stock not a number") << "abc" << "3" << "0" << 0 << "Плети, строка 1";
        QTest::newRow("negative kerf") << "6000" << "-1" << "0" << 0 << "Ширина реза";
        QTest::newRow("trim too long") << "6000" << "0" << "1600" << 0 << "Решетка №1";
        // clang-format on
    }

    void plansWhatTheBoxesSay() {
        QFETCH(QString, stock);
        QFETCH(QString, kerf);
        QFETCH(QString, trim);
        QFETCH(int, bars);
        QFETCH(QString, error);
        CuttingWindow w(messenger_);
        Find<QLineEdit>(w, "txtKerf")->setText(kerf);
        Find<QLineEdit>(w, "txtTrim")->setText(trim);
        QVERIFY(PlanAndWait(w, stock, Pieces));
        QCOMPARE(w.CurrentPlan().result.plan.bars, bars);
        QCOMPARE(w.HasPlan(), error.isEmpty());
        QCOMPARE(Find<QPushButton>(w, "cmdPrint")->isEnabled(), error.isEmpty());
        if (error.isEmpty()) {
            QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join('\n')));
            QCOMPARE(Label(w, "lblStatus"), QStringLiteral("оптимально"));
        } else {
            QCOMPARE(messenger_.errors.size(), 1);
            QVERIFY2(messenger_.errors[0].contains(error), qPrintable(messenger_.errors[0]));
            QCOMPARE(Find<QTableWidget>(w, "tblPlan")->rowCount(), 0);
        }
    }

    void offcutsFirstThenTheLeastNewLength() {
        CuttingWindow w(messenger_);
        Find<QLineEdit>(w, "txtKerf")->setText(QStringLiteral("0"));
        Add(w, "tblStock", QStringLiteral("12000"), QString()); // the main window's row
        Add(w, "tblStock", QStringLiteral("6000"), QStringLiteral("без ограничения"));
        Add(w, "tblOffcuts", QStringLiteral("3000"), QStringLiteral("2"));
        // Offcuts hold the two 3000s; four 2986s and one more need 12000 of new
        // stock: one 12000 bar, or two 6000 bars and one more.
        QVERIFY(PlanAndWait(w, QStringLiteral("12000"), Pieces));
        QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join('\n')));
        const cutting::Plan& plan = w.CurrentPlan().result.plan;
        QCOMPARE(plan.offcutsUsed, 2);
        QCOMPARE(plan.boughtLength, 18000);
        QCOMPARE(Find<QTableWidget>(w, "tblPlan")->item(0, 1)->text(),
                 QStringLiteral("обрезок 3000"));
        QVERIFY(Label(w, "lblPurchases").startsWith(QStringLiteral("Купить: ")));
        QVERIFY(Label(w, "lblLeftovers").startsWith(QStringLiteral("Деловые остатки (от 500 мм)")));
        // A row the table does not understand is refused before anything runs.
        Add(w, "tblOffcuts", QStringLiteral("2500"), QStringLiteral("много"));
        Find<QPushButton>(w, "cmdCalculate")->click();
        QCOMPARE(messenger_.errors.size(), 1);
        QVERIFY(messenger_.errors[0].startsWith(QStringLiteral("Обрезки, строка 2")));
    }

    void thePlanOnShowIsWhatPrints() {
        CuttingWindow w(messenger_);
        w.SetOrder(14, QStringLiteral("17"));
        Find<QLineEdit>(w, "txtKerf")->setText(QStringLiteral("120"));
        QVERIFY(PlanAndWait(w, QStringLiteral("12000"), Pieces));
        QCOMPARE(w.CurrentPlan().result.plan.bars, 3);
        // Typing into a box changes nothing planned; the window says the plan is
        // out of date, and the printed sheet is the plan on show.
        QTest::keyClicks(Find<QLineEdit>(w, "txtKerf"), QStringLiteral("x"));
        QVERIFY(Label(w, "lblStatus").contains(QStringLiteral("устарел")));
        QCOMPARE(w.CurrentPlan().settings.kerf, 120);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("plan.pdf"));
        messenger_.saveAnswers << file;
        Find<QPushButton>(w, "cmdPrint")->click();
        const QString text = PdfText(file);
        QVERIFY2(text.contains(QStringLiteral("рез 120 мм")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("оптимально")));
        QVERIFY(text.contains(QStringLiteral("Карта раскроя — заказ № 17, ")));

        // The plan alone as a workbook, named after the order.
        messenger_.saveAnswers << dir.filePath(QStringLiteral("plan.xlsx"));
        Find<QPushButton>(w, "cmdSaveExcel")->click();
        QCOMPARE(messenger_.suggestions.last(), QStringLiteral("17 — раскрой.xlsx"));
        QVERIFY(QFile(dir.filePath(QStringLiteral("plan.xlsx"))).size() > 0);
    }

    void windowsAnswerWhileAPlanRunsAndStopKeepsTheBestSoFar() {
        CuttingWindow w(messenger_);
        w.SetPlanner(LongPlan);
        QSignalSpy shown(&w, &CuttingWindow::PlanShown);
        w.Plan(Pieces, QStringLiteral("12000"));
        // The user-interface thread is free: progress shows, boxes take input.
        QTRY_VERIFY(Label(w, "lblStatus").contains(QStringLiteral("лучший раскрой — 9 плет.")));
        QVERIFY(w.Planning() && Find<QPushButton>(w, "cmdStop")->isEnabled());
        QTest::keyClicks(Find<QLineEdit>(w, "txtTrim"), QStringLiteral("5"));
        QCOMPARE(Find<QLineEdit>(w, "txtTrim")->text(), QStringLiteral("05"));
        QTest::qWait(200);
        QVERIFY(w.Planning());
        Find<QPushButton>(w, "cmdStop")->click();
        QVERIFY(shown.wait(5000));
        QVERIFY(w.HasPlan());
        QVERIFY(w.CurrentPlan().stopped);
        QCOMPARE(w.CurrentPlan().settings.trim, 0); // the value it was started with
        QVERIFY(Label(w, "lblStatus").startsWith(QStringLiteral("остановлено")));
        QVERIFY(!Find<QPushButton>(w, "cmdStop")->isEnabled());
    }

    void aNewPlanReplacesARunningOneAndClosingEndsIt() {
        CuttingWindow w(messenger_);
        w.SetPlanner(LongPlan);
        QSignalSpy shown(&w, &CuttingWindow::PlanShown);
        w.Plan(Pieces, QStringLiteral("12000"));
        w.SetPlanner([](const auto& pieces, const auto& s, const auto&) {
            return cutting::PlanCutting(pieces, s);
        });
        w.Plan({{1, V, 1000, 3}}, QStringLiteral("6000"));
        QVERIFY(shown.wait(5000));
        QCOMPARE(shown.count(), 1); // the first plan's result was dropped
        QCOMPARE(w.CurrentPlan().result.plan.piecesLength, 3000);

        // A window closed or destroyed while planning stops its plan.
        auto* other = new CuttingWindow(messenger_);
        other->SetPlanner(LongPlan);
        other->Plan(Pieces, QStringLiteral("12000"));
        QTRY_VERIFY(Label(*other, "lblStatus").contains(QStringLiteral("9 плет.")));
        other->close();
        QTRY_VERIFY(!other->Planning());
        other->Plan(Pieces, QStringLiteral("12000"));
        delete other; // returns: the runner stops its plan and waits for it
        QVERIFY(messenger_.errors.isEmpty());
    }

    void aFailingPlanIsReported() {
        CuttingWindow w(messenger_);
        w.SetPlanner([](const auto&, const auto&, const auto&) -> cutting::Result {
            throw std::runtime_error("boom");
        });
        QVERIFY(PlanAndWait(w, QStringLiteral("12000"), Pieces));
        QCOMPARE(messenger_.errors.size(), 1);
        QVERIFY(messenger_.errors[0].startsWith(QStringLiteral("Внутренняя ошибка при расчёте")));
        QVERIFY(!w.HasPlan());
    }

    void worksOnTheStoreOfTheOrdersBarSize() {
        QTemporaryDir dir;
        const std::string file = dir.filePath(QStringLiteral("stock.sqlite")).toStdString();
        stock::Result<stock::StockStore> opened = stock::StockStore::Open(file);
        QVERIFY(opened.ok);
        stock::StockStore& store = opened.value;
        CuttingWindow w(messenger_, &store);
        w.SetOrder(14, QStringLiteral("17"));
        Add(w, "tblOffcuts", QStringLiteral("9600"), QStringLiteral("1"));
        QCOMPARE(store.Stock(14).value.offcuts, (std::vector<stock::Bars>{{9600, 1}}));
        QVERIFY(store.Stock(12).value.offcuts.empty());

        // The offcut saves a bar of 12000; writing the plan off takes it and
        // keeps its leftover (over 500 mm), for the next order of 14 mm.
        QVERIFY(PlanAndWait(w, QStringLiteral("12000"), Pieces));
        const cutting::Plan plan = w.CurrentPlan().result.plan;
        QCOMPARE(plan.offcutsUsed, 1);
        QVERIFY(!plan.keep.empty());
        Find<QPushButton>(w, "cmdWriteOff")->click();
        QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join('\n')));
        std::vector<stock::Bars> kept;
        for (const cutting::Bars& b : plan.keep)
            kept.push_back({b.length, b.count});
        QCOMPARE(store.Stock(14).value.offcuts, kept);
        QVERIFY(!Find<QPushButton>(w, "cmdWriteOff")->isEnabled());
        // After a restart the next order of 14 mm cuts the leftover first.
        stock::Result<stock::StockStore> reopened = stock::StockStore::Open(file);
        CuttingWindow next(messenger_, &reopened.value);
        next.SetOrder(14, QStringLiteral("18"));
        QCOMPARE(Find<QTableWidget>(next, "tblOffcuts")->item(0, 0)->text(),
                 QString::number(kept[0].length));
        QVERIFY(PlanAndWait(next, QStringLiteral("12000"), {{1, H, 500, 1}}));
        QCOMPARE(next.CurrentPlan().result.plan.offcutsUsed, 1);
        QCOMPARE(next.CurrentPlan().result.plan.boughtLength, 0);

        Find<QPushButton>(w, "cmdUndoWriteOff")->click();
        QCOMPARE(store.Stock(14).value.offcuts, (std::vector<stock::Bars>{{9600, 1}}));
        // The journal keeps a write-off under its order: none without one.
        w.SetOrder(14, QString());
        Find<QPushButton>(w, "cmdUndoWriteOff")->click();
        QCOMPARE(messenger_.errors.size(), 1);
        QVERIFY(messenger_.errors[0].contains(QStringLiteral("номером заказа")));
    }

private:
    // Plans and waits until the plan or the refusal is on show.
    bool PlanAndWait(CuttingWindow& w, const QString& stock, const std::vector<CutItem>& pieces) {
        QSignalSpy shown(&w, &CuttingWindow::PlanShown);
        w.Plan(pieces, stock);
        return !messenger_.errors.isEmpty() || shown.wait(10000);
    }

    RecordingMessenger messenger_;
};

RESHETKI_UI_TEST_MAIN(CuttingWindowTest)
#include "cutting_window_test.moc"
