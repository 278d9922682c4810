// "Новый", "Открыть" and "Сохранить" on the main window. What a file holds
// and which files are refused is proven by the order file's own tests; here,
// that the window saves its order, shows what it opens and reports refusals.

#include "orders/order_file.h"
#include "testsupport/program.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Image(const model::Order& order) {
    const auto bytes = orders::EncodeOrder(order);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program saving into a folder of its own, order number 12.
struct Saving : Program {
    Saving() {
        main.SetOrdersFolder(folder.path());
        Find<QLineEdit>(main, "txtONumber")->setText(QStringLiteral("12"));
    }
    QString File(const QString& name) const { return folder.filePath(name); }
    QStringList Names() const {
        return QDir(folder.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // Shows grille `grille` with the grille spinner spanning all the tables.
    void Browse(int grille) {
        Find<Spinner>(main, "vsrPNumber")->SetMin(60);
        Find<Spinner>(main, "vsrPNumber")->SetValue(grille);
    }

    QTemporaryDir folder;
};

} // namespace

class OrderCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void orderNumberEnablesOpenAndSave() {
        Saving p;
        for (const QString& number : QStringList{"1", " ", "", "007"}) {
            Find<QLineEdit>(p.main, "txtONumber")->setText(number);
            QCOMPARE(Find<QPushButton>(p.main, "cmdOOpen")->isEnabled(), !number.isEmpty());
            QCOMPARE(Find<QPushButton>(p.main, "cmdOSave")->isEnabled(), !number.isEmpty());
        }
        QVERIFY(p.messenger.errors.isEmpty());
    }

    // An order calculated and saved under a number with leading zeros, cleared by
    // "new" and brought back by "open".
    void savedOrderIsClearedByNewAndRestoredByOpen() {
        Saving p;
        p.Opening(1, 1020, 1550, 20, 30, 10);
        p.Opening(2, 1700, 1200, 0, 0, 5);
        p.Opening(3, 600, 900, -5, 0, 40);
        p.Calculate(3);
        p.Browse(2);
        p.order.GrilleAt(2).DoubleBelt = model::True16;
        p.Dialog();
        const model::Order saved = p.order;
        Find<QLineEdit>(p.main, "txtONumber")->setText(QStringLiteral("007"));

        Find<QPushButton>(p.main, "cmdOSave")->click();
        QCOMPARE(ReadFile(p.File(QStringLiteral("007.kxo"))), Image(saved));
        QVERIFY(!Find<GrillePicture>(p.main, "Picture1")->Bars().empty());
        QVERIFY(Find<QLineEdit>(p.main, "txtPWidth")->text() != QStringLiteral("0"));

        Find<QPushButton>(p.main, "cmdONew")->click();
        model::Order cleared;
        cleared.GrilleCount = 3;
        QVERIFY(SameTables(p.order, cleared));
        QCOMPARE(p.order.Quadro, model::int16{14});
        QCOMPARE(p.Panel(), QStringList(7, QStringLiteral("0")));
        for (const char* box : {"txtWidth", "txtHeight", "txtZTop", "txtZDown", "txtZLeft"})
            QCOMPARE(Find<QLineEdit>(p.main, box)->text(), QStringLiteral("0"));
        QCOMPARE(Find<QLineEdit>(p.main, "txtCount")->text(), QStringLiteral("3"));
        QCOMPARE(Find<QLineEdit>(p.main, "txtNumber")->text(), QStringLiteral("3"));
        QCOMPARE(Find<QLineEdit>(p.main, "txtPNumber")->text(), QStringLiteral("2"));
        QVERIFY(Find<GrillePicture>(p.main, "Picture1")->Bars().empty());

        Find<QPushButton>(p.main, "cmdOOpen")->click();
        QVERIFY2(p.messenger.errors.isEmpty(), qPrintable(p.messenger.errors.join('\n')));
        QVERIFY(SameTables(p.order, saved));
        QVERIFY(!Find<GrillePicture>(p.main, "Picture1")->Bars().empty());
        QCOMPARE(ReadFile(p.File(QStringLiteral("007.kxo"))), Image(saved));
    }

    void openShowsTheLoadedOrderAndKeepsRecordsAboveIt_data() {
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

    void openShowsTheLoadedOrderAndKeepsRecordsAboveIt() {
        QFETCH(int, fileCount);
        QFETCH(int, grilleBefore);
        QFETCH(QString, numberTyped);
        QFETCH(int, grilleShown);
        QFETCH(int, openingShown);
        Saving p;
        const model::Order file = Numbered(fileCount, 1000);
        orders::WriteOrderFile(p.File(QStringLiteral("12.kxo")).toStdString(), file);
        p.order = Numbered(60, 0);
        Find<Spinner>(p.main, "vsrCount")->SetValue(60);
        Find<Spinner>(p.main, "vsrNumber")->SetValue(1);
        Find<QLineEdit>(p.main, "txtNumber")->setText(numberTyped);
        p.Browse(grilleBefore);
        model::Order expected = Numbered(60, 0); // the file's records, the rest as before
        QVERIFY(orders::DecodeOrder(orders::EncodeOrder(file), expected).status ==
                orders::DecodeStatus::Loaded);
        p.messenger.Clear(); // "abc" as the opening number has been reported

        Find<QPushButton>(p.main, "cmdOOpen")->click();

        QVERIFY2(p.messenger.errors.isEmpty(), qPrintable(p.messenger.errors.join('\n')));
        QVERIFY(SameTables(p.order, expected));
        QVERIFY(Find<QPushButton>(p.main, "cmdChange")->isEnabled());
        QVERIFY(Find<QPushButton>(p.main, "cmdCreate")->isEnabled());
        // Opening panel.
        QCOMPARE(Find<QLineEdit>(p.main, "txtCount")->text(), QString::number(fileCount));
        QCOMPARE(Find<Spinner>(p.main, "vsrCount")->Value(), fileCount);
        QCOMPARE(Find<QLineEdit>(p.main, "txtNumber")->text(), QString::number(openingShown));
        const model::Opening& o = p.order.OpeningAt(openingShown);
        QCOMPARE(Find<QLineEdit>(p.main, "txtWidth")->text(), QString::number(o.Width));
        QCOMPARE(Find<QLineEdit>(p.main, "txtZLeft")->text(), QString::number(o.SideGap));
        // Grille panel, spinner and dialog.
        QCOMPARE(Find<Spinner>(p.main, "vsrPNumber")->Min(), std::max(fileCount, 1));
        QCOMPARE(Find<Spinner>(p.main, "vsrPNumber")->Max(), 1);
        QCOMPARE(Find<QLineEdit>(p.main, "txtPNumber")->text(), QString::number(grilleShown));
        QCOMPARE(p.Panel(), p.Holds(grilleShown));
        QVERIFY(!p.Dialog().isVisible());
    }

    // Each file the reader refuses is its own tests' case; the window shows the
    // refusal and changes nothing, whatever the reason: a missing file, then a
    // number that names no file, for which both save and open are refused.
    void refusedOpenOrSaveChangesNothing() {
        Saving p;
        p.order = Numbered(10, 0);
        Find<QLineEdit>(p.main, "txtCount")->setText(QStringLiteral("4"));
        Find<QPushButton>(p.main, "cmdOOpen")->click();
        QCOMPARE(p.messenger.errors.size(), 1);
        QVERIFY2(p.messenger.errors[0].contains(p.File(QStringLiteral("12.kxo"))),
                 qPrintable(p.messenger.errors[0]));
        Find<QLineEdit>(p.main, "txtONumber")->setText(QStringLiteral("../12"));
        Find<QPushButton>(p.main, "cmdOSave")->click();
        Find<QPushButton>(p.main, "cmdOOpen")->click();
        QCOMPARE(p.messenger.errors.size(), 3);
        QVERIFY(SameTables(p.order, Numbered(10, 0)));
        QVERIFY(p.Names().isEmpty());
        QCOMPARE(Find<QLineEdit>(p.main, "txtCount")->text(), QStringLiteral("4"));
        QVERIFY(!Find<QPushButton>(p.main, "cmdChange")->isEnabled());
        QVERIFY(!Find<QPushButton>(p.main, "cmdCreate")->isEnabled());
    }

    void unwritableProgramFolderKeepsOrdersPerUser() {
        QStandardPaths::setTestModeEnabled(true);
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir(user).removeRecursively();
        Program p;
        p.order = Numbered(3, 0);
        // The test program's own folder is writable, so it would be the one; not
        // even the superuser creates files here.
        p.main.SetProgramFolder(QStringLiteral("/proc"));
        QCOMPARE(p.main.OrdersFolder(), user);
        Find<QLineEdit>(p.main, "txtONumber")->setText(QStringLiteral("5"));
        Find<QPushButton>(p.main, "cmdOSave")
            ->click(); // the per-user folder is made on the first save
        QCOMPARE(ReadFile(user + QStringLiteral("/5.kxo")), Image(p.order));
        p.order = Numbered(60, 7);
        Find<QPushButton>(p.main, "cmdOOpen")->click();
        QVERIFY(p.messenger.errors.isEmpty());
        QCOMPARE(p.order.GrilleCount, 3);
        QDir(user).removeRecursively();
        QStandardPaths::setTestModeEnabled(false);
    }

    void newKeepsTheTypedOpeningNumber() {
        Saving p;
        Find<Spinner>(p.main, "vsrCount")->SetValue(3);
        p.order.OpeningAt(7).Width = 700;
        Find<QLineEdit>(p.main, "txtNumber")->setText(QStringLiteral("7"));
        QCOMPARE(Find<QLineEdit>(p.main, "txtWidth")->text(), QStringLiteral("700"));
        Find<QPushButton>(p.main, "cmdONew")->click();
        QCOMPARE(Find<QLineEdit>(p.main, "txtNumber")->text(), QStringLiteral("7"));
        QCOMPARE(Find<QLineEdit>(p.main, "txtWidth")->text(), QStringLiteral("0"));
        // A number beyond the tables stays as well, and nothing is reported.
        Find<QLineEdit>(p.main, "txtNumber")->setText(QStringLiteral("61"));
        p.messenger.Clear();
        Find<QPushButton>(p.main, "cmdONew")->click();
        QCOMPARE(Find<QLineEdit>(p.main, "txtNumber")->text(), QStringLiteral("61"));
        QVERIFY(p.messenger.errors.isEmpty());
    }
};

RESHETKI_UI_TEST_MAIN(OrderCommandsTest)
#include "order_commands_test.moc"
