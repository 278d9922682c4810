// The window "Смета": prices typed, kept between runs and refused when bad,
// the grilles of a build priced, and the quote printed.

#include "views/estimate/estimate_window.h"
#include "views/estimate/price_list_store.h"
#include "views/estimate/quote_print.h"

#include "testsupport/ui_test_support.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Two grilles of 14 mm bar: 1000 × 1200 with five steps on a single belt
// (eight uprights of 1186 mm, two belts of 1000: 11 488 mm, 17.68 kg, 16
// joints), and the same on a double belt (four belts, eight uprights of the
// full 1200 mm: 13 600 mm, 20.92 kg, 32 joints).
model::Order TwoGrilles() {
    model::Order order;
    order.GrilleCount = 2;
    order.GrilleAt(1) = {1000, 1200, 164, 5, 0, 14, model::False16, 1.2};
    order.GrilleAt(2) = {1000, 1200, 164, 5, 0, 14, model::True16, 1.2};
    return order;
}

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    emit box->editingFinished();
}

} // namespace

class EstimateWindowTest : public QObject {
    Q_OBJECT
private slots:
    void typedPricesAreKeptForTheNextRun() {
        const QString file = dir_.filePath(QStringLiteral("kept/price_list.ini"));
        {
            PriceListStore store(file);
            RecordingMessenger messenger;
            EstimateWindow window(store, messenger);
            Type(Find<QLineEdit>(window, "txtMetalPerKg"), QStringLiteral("120,5"));
            Type(Find<QLineEdit>(window, "txtMarkup"), QStringLiteral("12"));
            QCOMPARE(messenger.errors, QStringList());
        }
        PriceListStore again(file);
        QCOMPARE(again.Damage(), QString());
        QCOMPARE(again.Prices().metalPerKg, 12050);
        QCOMPARE(again.Prices().markup, 1200);
        QCOMPARE(again.Prices().wasteAllowance, 500);
    }

    void aRefusedPriceIsToldAndChangesNothing() {
        const QString file = dir_.filePath(QStringLiteral("refused.ini"));
        PriceListStore store(file);
        RecordingMessenger messenger;
        EstimateWindow window(store, messenger);
        auto* box = Find<QLineEdit>(window, "txtPerJoint");
        Type(box, QStringLiteral("12 руб"));
        QCOMPARE(messenger.errors.size(), 1);
        QVERIFY(messenger.errors[0].startsWith(QStringLiteral("Цена сварного узла")));
        QCOMPARE(box->text(), QStringLiteral("0"));
        QVERIFY(!QFile::exists(file));
    }

    void aDamagedPriceListIsToldAndNeverWrittenOver() {
        const QString file = dir_.filePath(QStringLiteral("damaged.ini"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General]\nmetal_per_kg=сто\nmarkup=500\n");
        f.close();
        const QByteArray before = Bytes(file);
        PriceListStore store(file);
        QVERIFY(store.Damage().contains(QStringLiteral("повреждён")));
        QCOMPARE(store.Prices(), estimate::PriceList{});
        RecordingMessenger messenger;
        EstimateWindow window(store, messenger);
        Type(Find<QLineEdit>(window, "txtMarkup"), QStringLiteral("7"));
        QCOMPARE(messenger.errors.size(), 1);
        QCOMPARE(store.Prices().markup, 700); // used for this run
        QCOMPARE(Bytes(file), before);
    }

    void eachGrilleShowsItsMassJointsAndPrice() {
        PriceListStore store(dir_.filePath(QStringLiteral("grilles.ini")));
        RecordingMessenger messenger;
        EstimateWindow window(store, messenger);
        QSignalSpy changed(&window, &EstimateWindow::PriceChanged);
        window.SetBuild(TwoGrilles(), QStringLiteral("17"));
        Type(Find<QLineEdit>(window, "txtPerJoint"), QStringLiteral("10"));
        QCOMPARE(changed.size(), 2);
        auto* table = Find<QTableWidget>(window, "tblGrilles");
        QCOMPARE(table->rowCount(), 2);
        const QStringList expected[] = {
            {"1", "1000 × 1200", "11.488", "17.68", "16", ".643328", "160\u00A0₽"},
            {"2", "1000 × 1200", "13.6", "20.92", "32", ".7616", "320\u00A0₽"}};
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < expected[row].size(); ++column)
                QCOMPARE(table->item(row, column)->text(), expected[row][column]);
        QCOMPARE(window.PriceText(), QStringLiteral("480\u00A0₽"));
        window.SetPlan(EstimateWindow::Plan{4, 24000, {}});
        QVERIFY(
            Find<QLabel>(window, "lblTotals")->text().contains(QStringLiteral("прутков 4, 24 м")));
        model::Order mixed = TwoGrilles();
        mixed.GrilleAt(2).q = 12;
        window.SetBuild(mixed, QStringLiteral("17"));
        window.SetPlan(EstimateWindow::Plan{4, 24000, {}});
        QVERIFY(Find<QLabel>(window, "lblTotals")->text().contains(QStringLiteral("не учтён")));
    }

    void theWorkbookHoldsTheBuildItsPlanAndItsEstimate() {
        PriceListStore store(dir_.filePath(QStringLiteral("book.ini")));
        RecordingMessenger messenger;
        EstimateWindow window(store, messenger);
        Find<QPushButton>(window, "cmdSaveExcel")->click();
        QCOMPARE(messenger.errors.size(), 1); // nothing built yet: told, nothing asked
        QVERIFY(messenger.suggestions.isEmpty());
        window.SetBuild(TwoGrilles(), QStringLiteral("17"));
        window.SetPlan(EstimateWindow::Plan{4, 24000, {"Раскрой", {}}});
        const QString file = dir_.filePath(QStringLiteral("17.xlsx"));
        messenger.saveAnswers << file;
        Find<QPushButton>(window, "cmdSaveExcel")->click();
        QCOMPARE(messenger.suggestions, QStringList{QStringLiteral("17.xlsx")});
        QCOMPARE(messenger.errors.size(), 1);
        // Решётки, Резка, Раскрой and Смета: the zip names each part.
        const QByteArray book = Bytes(file);
        QVERIFY(book.contains("xl/worksheets/sheet4.xml"));
        QVERIFY(!book.contains("xl/worksheets/sheet5.xml"));
    }

    // The program may end with a price half typed: the box loses its focus
    // as the window goes, and nothing is read from the boxes going with it.
    void aWindowDeletedWhileAPriceIsTypedGoesQuietly() {
        PriceListStore store(dir_.filePath(QStringLiteral("typing.ini")));
        RecordingMessenger messenger;
        auto* window = new EstimateWindow(store, messenger);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* box = Find<QLineEdit>(*window, "txtPerJoint");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("12"));
        delete window;
        QCOMPARE(messenger.errors, QStringList());
    }

    void theQuoteDrawsEachGrilleWithItsSizesAndPrice() {
        const model::Order order = TwoGrilles();
        const estimate::Result priced = estimate::EstimateOrder(order, {});
        QVERIFY(priced.ok);
        const QString file = dir_.filePath(QStringLiteral("quote.pdf"));
        QVERIFY(WritePdf(
            file, QuoteJob(order, QStringLiteral("17"), priced.estimate, QDate(2026, 12, 8))));
        const QString text = PdfText(file).replace(QChar(0xA0), QLatin1Char(' '));
        QVERIFY(text.contains(QStringLiteral("Коммерческое предложение")));
        QVERIFY(text.contains(QStringLiteral("Заказ № 17 от 08.12.2026")));
        QCOMPARE(text.count(QStringLiteral("Решетка №")), 2);
        // The width and the height dimensioned on each drawing (the height
        // closes each heading as well).
        QCOMPARE(text.count(QStringLiteral("1000 мм")), 2);
        QCOMPARE(text.count(QStringLiteral("1200 мм")), 4);
        QVERIFY(text.contains(QStringLiteral("Итого: 0 ₽")));
    }

private:
    QTemporaryDir dir_;
};

RESHETKI_UI_TEST_MAIN(EstimateWindowTest)
#include "estimate_window_test.moc"
