#include "testsupport/ui_test_support.h"
#include "views/cutting/cutting_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

class CuttingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { messenger_.Clear(); }
    void plansWhatTheBoxesSay_data();
    void plansWhatTheBoxesSay();

private:
    RecordingMessenger messenger_;
};

void CuttingWindowTest::plansWhatTheBoxesSay_data() {
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("kerf");
    QTest::addColumn<QString>("trim");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("error");
    const auto row = [](const char* name, const char* stock, const char* kerf, const char* trim,
                        int bars, const char* error) {
        QTest::newRow(name) << QString(stock) << QString(kerf) << QString(trim) << bars
                            << QString::fromUtf8(error);
    };
    // Two 3000 pieces and five 2986 pieces: four fit 12000 without saw cuts.
    row("fits two bars", "12000", "0", "0", 2, "");
    row("kerf needs a third", "12000", "20", "0", 3, "");
    row("stock from text", "6000", "0", "0", 4, "");
    row("stock not a number", "abc", "3", "0", 0, "Длина плети");
    row("stock fractional", "6000.5", "3", "0", 0, "Длина плети");
    row("negative kerf", "6000", "-1", "0", 0, "Ширина реза");
    row("trim too long", "6000", "0", "1600", 0, "Решетка №1");
}

void CuttingWindowTest::plansWhatTheBoxesSay() {
    QFETCH(QString, stock);
    QFETCH(QString, kerf);
    QFETCH(QString, trim);
    QFETCH(int, bars);
    QFETCH(QString, error);
    CuttingWindow w(messenger_);
    w.txtKerf->setText(kerf);
    w.txtTrim->setText(trim);
    w.Plan({{1, cutting::PieceKind::Horizontal, 3000, 2},
            {1, cutting::PieceKind::Vertical, 2986, 1},
            {2, cutting::PieceKind::Vertical, 2986, 4}},
           stock);
    QCOMPARE(w.CurrentPlan().bars, bars);
    QCOMPARE(w.HasPlan(), error.isEmpty());
    QCOMPARE(w.cmdPrint->isEnabled(), error.isEmpty());
    if (error.isEmpty()) {
        QVERIFY2(messenger_.errors.isEmpty(), qPrintable(messenger_.errors.join('\n')));
    } else {
        QCOMPARE(messenger_.errors.size(), 1);
        QVERIFY2(messenger_.errors[0].contains(error), qPrintable(messenger_.errors[0]));
        QCOMPARE(w.tblPlan->rowCount(), 0);
    }
}

RESHETKI_UI_TEST_MAIN(CuttingWindowTest)
#include "cutting_window_test.moc"
