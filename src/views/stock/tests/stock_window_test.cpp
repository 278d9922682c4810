// The window "Склад": the stock and offcuts of the bar size selected only,
// the journal of every size newest first, and what changed since on Refresh.

#include "views/stock/stock_window.h"

#include "stock/stock_store.h"
#include "testsupport/temp_folder.h"
#include "testsupport/ui_test_support.h"

#include <QComboBox>
#include <QTableWidget>
#include <QtTest>

namespace {

// The table's rows from `first` column on, cells joined by "|".
QStringList Rows(const QWidget& window, const char* table, int first = 0) {
    const auto* t = Find<QTableWidget>(window, table);
    QStringList rows;
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList cells;
        for (int c = first; c < t->columnCount(); ++c)
            cells << t->item(r, c)->text();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class StockWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        auto opened = stock::StockStore::Open(folder_.File(QTest::currentTestFunction()));
        QVERIFY2(opened.ok, opened.error.c_str());
        store_ = std::move(opened.value);
    }

    void showsTheSelectedBarSizeOnly() {
        QVERIFY(store_.ReplaceStock(14, {{6000, stock::Unlimited}, {3000, 2}}).ok);
        QVERIFY(store_.ReplaceOffcuts(14, {{1500, 1}}).ok);
        QVERIFY(store_.ReplaceStock(16, {{6000, 5}}).ok);
        StockWindow window(store_, messenger_);
        auto* box = Find<QComboBox>(window, "cboBarSize");
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->currentText(), QString("14 мм"));
        QCOMPARE(Rows(window, "tblStock"), QStringList({"6000|без ограничения", "3000|2"}));
        QCOMPARE(Rows(window, "tblOffcuts"), QStringList({"1500|1"}));
        box->setCurrentIndex(1);
        QCOMPARE(Rows(window, "tblStock"), QStringList({"6000|5"}));
        QCOMPARE(Rows(window, "tblOffcuts"), QStringList());
        window.ShowBarSize(12);
        QCOMPARE(box->currentText(), QString("12 мм"));
        QCOMPARE(box->count(), 3);
        QCOMPARE(Rows(window, "tblStock"), QStringList());
        QCOMPARE(messenger_.errors, QStringList());
    }

    void showsTheJournalNewestFirst() {
        QVERIFY(store_.ReplaceStock(14, {{3000, 2}}).ok);
        QVERIFY(store_.ReplaceOffcuts(16, {{1500, 1}}).ok);
        QVERIFY(store_.WriteOffPlan({14, "7", {}, {{3000, 1}}, {{1200, 1}}, {{{3000, 2}}, {}}}).ok);
        StockWindow window(store_, messenger_);
        QCOMPARE(Rows(window, "tblJournal", 1),
                 QStringList({"14 мм|7|списание|плети 1 × 3000|обрезки 1 × 1200",
                              "16 мм||правка||обрезки 1 × 1500", "14 мм||правка||плети 2 × 3000"}));
        const QDateTime shown = QDateTime::fromString(
            Find<QTableWidget>(window, "tblJournal")->item(0, 0)->text(), "dd.MM.yyyy HH:mm");
        QVERIFY(qAbs(shown.secsTo(QDateTime::currentDateTime())) < 120);
    }

    void refreshShowsWhatChangedSinceAndTellsARefusalOnce() {
        QVERIFY(store_.ReplaceStock(14, {{3000, 2}}).ok);
        StockWindow window(store_, messenger_);
        QVERIFY(store_.ReplaceStock(14, {{3000, 1}}).ok);
        window.Refresh();
        QCOMPARE(Rows(window, "tblStock"), QStringList({"3000|1"}));
        QCOMPARE(Rows(window, "tblJournal").size(), 2);
        QCOMPARE(messenger_.errors, QStringList());
        store_ = stock::StockStore();
        window.Refresh();
        QCOMPARE(messenger_.errors.size(), 1);
        QCOMPARE(Rows(window, "tblStock"), QStringList());
        QCOMPARE(Rows(window, "tblJournal"), QStringList());
    }

    void cleanup() { messenger_.Clear(); }

private:
    TempFolder folder_{"stock-view"};
    stock::StockStore store_;
    RecordingMessenger messenger_;
};

RESHETKI_UI_TEST_MAIN(StockWindowTest)
#include "stock_window_test.moc"
