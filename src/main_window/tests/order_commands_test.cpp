#include "main_window/main_window.h"
#include "model/numbers.h"
#include "orders/order_file.h"
#include "testsupport/order_fixtures.h"
#include "testsupport/ui_test_support.h"
#include "views/correction/correction_dialog.h"
#include "views/picture/grille_picture.h"
#include "widgets/spinner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

namespace {

QString Text(long long v) {
    return QString::fromStdString(model::IntegerText(v));
}

QByteArray Image(const model::Order& order) {
    const auto bytes = orders::EncodeOrder(order);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One main window on its own order, saving into a folder of its own.
struct Program {
    Program() : window(order, messenger) {
        window.SetOrdersFolder(folder.path());
        window.txtONumber->setText(QStringLiteral("12"));
    }
    QString File(const QString& name) const { return folder.filePath(name); }
    QStringList Names() const {
        return QDir(folder.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // Types one opening into the opening panel.
    void Enter(int number, const QStringList& values) {
        window.vsrNumber->SetValue(number);
        QLineEdit* boxes[] = {window.txtWidth, window.txtHeight, window.txtZTop, window.txtZDown,
                              window.txtZLeft};
        for (int k = 0; k < 5; ++k)
            boxes[k]->setText(values[k]);
    }
    void Browse(int grille) {
        window.vsrPNumber->SetMin(60);
        window.vsrPNumber->SetValue(grille);
    }

    QTemporaryDir folder;
    model::Order order;
    RecordingMessenger messenger;
    MainWindow window;
};

} // namespace

class OrderCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void orderNumberEnablesOpenAndSave();
    void savedOrderIsClearedByNewAndRestoredByOpen();
    void openShowsTheLoadedOrderAndKeepsRecordsAboveIt_data();
    void openShowsTheLoadedOrderAndKeepsRecordsAboveIt();
    void refusedOpenOrSaveChangesNothing_data();
    void refusedOpenOrSaveChangesNothing();
    void unwritableProgramFolderKeepsOrdersPerUser();
    void newKeepsTheTypedOpeningNumber();
};

void OrderCommandsTest::orderNumberEnablesOpenAndSave() {
    Program p;
    for (const QString& number : QStringList{"1", " ", "", "007"}) {
        p.window.txtONumber->setText(number);
        QCOMPARE(p.window.cmdOOpen->isEnabled(), !number.isEmpty());
        QCOMPARE(p.window.cmdOSave->isEnabled(), !number.isEmpty());
    }
    QVERIFY(p.messenger.errors.isEmpty());
}

// An order calculated, saved under a number with leading zeros over a longer
// file of another order, cleared by "new" and brought back by "open".
void OrderCommandsTest::savedOrderIsClearedByNewAndRestoredByOpen() {
    Program p;
    p.window.vsrCount->SetValue(3);
    p.Enter(1, {"1020", "1550", "20", "30", "10"});
    p.Enter(2, {"1700", "1200", "0", "0", "5"});
    p.Enter(3, {"600", "900", "-5", "0", "40"});
    p.window.cmdOK->click();
    p.Browse(2);
    p.order.GrilleAt(2).DoubleBelt = model::True16;
    p.window.Correction();
    const model::Order saved = p.order;
    p.window.txtONumber->setText(QStringLiteral("007"));
    const QString path = p.File(QStringLiteral("007.kxo"));
    WriteFile(path, Image(Numbered(10, 0)));

    p.window.cmdOSave->click();
    QCOMPARE(ReadFile(path), Image(saved));
    QCOMPARE(p.Names(), QStringList{QStringLiteral("007.kxo")});
    QVERIFY(!p.window.Picture1->Bars().empty());
    QVERIFY(p.window.txtPWidth->text() != QStringLiteral("0"));

    p.window.cmdONew->click();
    model::Order cleared;
    cleared.GrilleCount = 3;
    QVERIFY(SameTables(p.order, cleared));
    QCOMPARE(p.order.Quadro, model::int16{14});
    for (QLineEdit* box :
         {p.window.txtPWidth, p.window.txtPHeight, p.window.txtPStep, p.window.txtPStepCount,
          p.window.txtPAdd, p.window.txtWidth, p.window.txtHeight, p.window.txtZTop,
          p.window.txtZDown, p.window.txtZLeft, p.window.Correction().txtNewStep,
          p.window.Correction().txtNewZLeft})
        QCOMPARE(box->text(), QStringLiteral("0"));
    QCOMPARE(p.window.txtCount->text(), QStringLiteral("3"));
    QCOMPARE(p.window.txtNumber->text(), QStringLiteral("3"));
    QCOMPARE(p.window.txtPNumber->text(), QStringLiteral("2"));
    QVERIFY(p.window.Picture1->Bars().empty());

    p.window.cmdOOpen->click();
    QVERIFY2(p.messenger.errors.isEmpty(), qPrintable(p.messenger.errors.join('\n')));
    QVERIFY(SameTables(p.order, saved));
    QVERIFY(!p.window.Picture1->Bars().empty());
}

void OrderCommandsTest::openShowsTheLoadedOrderAndKeepsRecordsAboveIt_data() {
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<int>("grilleBefore");
    QTest::addColumn<QString>("numberTyped");
    QTest::addColumn<int>("grilleShown");
    QTest::addColumn<int>("openingShown");
    QTest::newRow("grille 2 of 3") << 3 << 2 << "2" << 2 << 2;
    QTest::newRow("grille 5 beyond 2") << 2 << 5 << "1" << 2 << 1;
    QTest::newRow("opening typed beyond count") << 3 << 1 << "7" << 1 << 1;
    QTest::newRow("opening not a number") << 3 << 1 << "abc" << 1 << 1;
    QTest::newRow("full order") << 60 << 60 << "60" << 60 << 60;
    QTest::newRow("empty order") << 0 << 4 << "3" << 1 << 1;
}

void OrderCommandsTest::openShowsTheLoadedOrderAndKeepsRecordsAboveIt() {
    QFETCH(int, fileCount);
    QFETCH(int, grilleBefore);
    QFETCH(QString, numberTyped);
    QFETCH(int, grilleShown);
    QFETCH(int, openingShown);
    Program p;
    const model::Order file = Numbered(fileCount, 1000);
    WriteFile(p.File(QStringLiteral("12.kxo")), Image(file));
    p.order = Numbered(60, 0);
    p.window.vsrCount->SetValue(60);
    p.window.vsrNumber->SetValue(1);
    p.window.txtNumber->setText(numberTyped);
    p.Browse(grilleBefore);
    model::Order expected = Numbered(60, 0); // the file's records, the rest as before
    QVERIFY(orders::DecodeOrder(orders::EncodeOrder(file), expected).status ==
            orders::DecodeStatus::Loaded);
    p.messenger.Clear(); // "abc" as the opening number has been reported

    p.window.cmdOOpen->click();

    QVERIFY2(p.messenger.errors.isEmpty(), qPrintable(p.messenger.errors.join('\n')));
    QVERIFY(SameTables(p.order, expected));
    QVERIFY(p.window.cmdChange->isEnabled());
    QVERIFY(p.window.cmdCreate->isEnabled());
    // Opening panel.
    QCOMPARE(p.window.txtCount->text(), Text(fileCount));
    QCOMPARE(p.window.vsrCount->Value(), fileCount);
    QCOMPARE(p.window.txtNumber->text(), Text(openingShown));
    const model::Opening& o = p.order.OpeningAt(openingShown);
    QCOMPARE(p.window.txtWidth->text(), Text(o.Width));
    QCOMPARE(p.window.txtZLeft->text(), Text(o.SideGap));
    // Grille panel, spinner and dialog.
    QCOMPARE(p.window.vsrPNumber->Min(), std::max(fileCount, 1));
    QCOMPARE(p.window.vsrPNumber->Max(), 1);
    QCOMPARE(p.window.txtPNumber->text(), Text(grilleShown));
    const model::Grille& g = p.order.GrilleAt(grilleShown);
    QCOMPARE(p.window.txtPWidth->text(), Text(g.B));
    QCOMPARE(p.window.txtPStepCount->text(), Text(g.n));
    QCOMPARE(p.window.Correction().txtNewStep->text(), Text(g.t));
    QCOMPARE(p.window.Correction().txtNewZLeft->text(),
             Text(p.order.OpeningAt(grilleShown).SideGap));
    QVERIFY(!p.window.Correction().isVisible());
}

void OrderCommandsTest::refusedOpenOrSaveChangesNothing_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("bytes"); // of 12.kxo; none when null
    QTest::addColumn<bool>("folder");      // a folder named 12.kxo
    const QByteArray four = Image(Numbered(4, 0));
    QTest::newRow("missing file") << "12" << QByteArray() << false;
    QTest::newRow("short file") << "12" << four.left(four.size() - 1) << false;
    QTest::newRow("count 61") << "12" << QByteArray::fromHex("3d00") + QByteArray(2000, '\0')
                              << false;
    QTest::newRow("folder") << "12" << QByteArray() << true;
    // A number that names no file: both save and open are refused.
    QTest::newRow("slash") << "../12" << QByteArray() << false;
}

void OrderCommandsTest::refusedOpenOrSaveChangesNothing() {
    QFETCH(QString, number);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, folder);
    Program p;
    const QString path = p.File(QStringLiteral("12.kxo"));
    if (!bytes.isNull())
        WriteFile(path, bytes);
    if (folder)
        QVERIFY(QDir(p.folder.path()).mkdir(QStringLiteral("12.kxo")));
    p.order = Numbered(10, 0);
    p.window.txtCount->setText(QStringLiteral("4"));
    p.window.txtONumber->setText(number);
    const QStringList names = p.Names();
    const bool badNumber = number != QStringLiteral("12");

    if (badNumber)
        p.window.cmdOSave->click();
    p.window.cmdOOpen->click();

    QCOMPARE(p.messenger.errors.size(), badNumber ? 2 : 1);
    QVERIFY2(badNumber || p.messenger.errors[0].contains(path), qPrintable(p.messenger.errors[0]));
    QVERIFY(SameTables(p.order, Numbered(10, 0)));
    QCOMPARE(p.Names(), names);
    if (!bytes.isNull())
        QCOMPARE(ReadFile(path), bytes);
    QCOMPARE(p.window.txtCount->text(), QStringLiteral("4"));
    QVERIFY(!p.window.cmdChange->isEnabled());
    QVERIFY(!p.window.cmdCreate->isEnabled());
}

void OrderCommandsTest::unwritableProgramFolderKeepsOrdersPerUser() {
    QStandardPaths::setTestModeEnabled(true);
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(user).removeRecursively();
    model::Order order = Numbered(3, 0);
    RecordingMessenger messenger;
    MainWindow window(order, messenger);
    // The test program's own folder is writable, so it would be the one; not
    // even the superuser creates files here.
    window.SetProgramFolder(QStringLiteral("/proc"));
    QCOMPARE(window.OrdersFolder(), user);
    window.txtONumber->setText(QStringLiteral("5"));
    window.cmdOSave->click(); // the per-user folder is made on the first save
    QCOMPARE(ReadFile(user + QStringLiteral("/5.kxo")), Image(order));
    order = Numbered(60, 7);
    window.cmdOOpen->click();
    QVERIFY(messenger.errors.isEmpty());
    QCOMPARE(order.GrilleCount, 3);
    QDir(user).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

void OrderCommandsTest::newKeepsTheTypedOpeningNumber() {
    Program p;
    p.window.vsrCount->SetValue(3);
    p.order.OpeningAt(7).Width = 700;
    p.window.txtNumber->setText(QStringLiteral("7"));
    QCOMPARE(p.window.txtWidth->text(), QStringLiteral("700"));
    p.window.cmdONew->click();
    QCOMPARE(p.window.txtNumber->text(), QStringLiteral("7"));
    QCOMPARE(p.window.txtWidth->text(), QStringLiteral("0"));
    // A number beyond the tables stays as well, and nothing is reported.
    p.window.txtNumber->setText(QStringLiteral("61"));
    p.messenger.Clear();
    p.window.cmdONew->click();
    QCOMPARE(p.window.txtNumber->text(), QStringLiteral("61"));
    QVERIFY(p.messenger.errors.isEmpty());
}

RESHETKI_UI_TEST_MAIN(OrderCommandsTest)
#include "order_commands_test.moc"
